#include "ui/NewSheetDialog.h"

#include "ui/Controls.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

// The top of the paper with the sheet's first row of discs, to scale.
class FirstRowDrawing final : public QWidget {
public:
    explicit FirstRowDrawing(QWidget* parent) : QWidget(parent)
    {
        setMinimumSize(320, 90);
        setAccessibleName(NewSheetDialog::tr("最初の行"));
    }
    void show(const Sheet& sheet)
    {
        m_sheet = sheet;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_sheet.grids.isEmpty() || m_sheet.paper.width() <= 0)
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const SheetGrid& grid = m_sheet.grids.first();
        // The paper's width fills the drawing; it shows the paper down to
        // a little below the first row.
        const double scale = (width() - 2) / m_sheet.paper.width();
        const double shown = std::min(m_sheet.paper.height(),
                                      grid.first.y() + m_sheet.diameter + grid.pitch.y() / 2);
        painter.setPen(QPen(Qt::gray, 1));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(1, 1, m_sheet.paper.width() * scale, shown * scale));
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(255, 230, 230));
        for (int column = 0; column < grid.columns; ++column)
            painter.drawEllipse(QRectF(1 + (grid.first.x() + column * grid.pitch.x()) * scale,
                                       1 + grid.first.y() * scale, m_sheet.diameter * scale,
                                       m_sheet.diameter * scale));
    }

private:
    Sheet m_sheet;
};

NewSheetDialog::NewSheetDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("newSheetDialog"));
    setWindowTitle(tr("新しいシート"));
    m_name = new QLineEdit(this);
    m_name->setMaxLength(80);
    m_paperWidth = length("sheetPaperWidth", 210);
    m_paperHeight = length("sheetPaperHeight", 297);
    m_diameter = length("sheetDiameter", 12);
    m_columns = new QSpinBox(this);
    m_rows = new QSpinBox(this);
    for (QSpinBox* count : {m_columns, m_rows}) {
        count->setRange(1, Sheet::MaxPositions);
        connect(count, &QSpinBox::valueChanged, this, &NewSheetDialog::showSheet);
    }
    m_columns->setValue(13);
    m_rows->setValue(18);
    m_firstX = length("sheetFirstX", 9);
    m_firstY = length("sheetFirstY", 15);
    m_pitchX = length("sheetPitchX", 15);
    m_pitchY = length("sheetPitchY", 15);
    Controls::name(m_name, "sheetName");
    Controls::name(m_columns, "sheetColumns");
    Controls::name(m_rows, "sheetRows");
    connect(m_name, &QLineEdit::textChanged, this, &NewSheetDialog::showSheet);

    auto* form = new QFormLayout;
    const auto row = [&](const QString& caption, QWidget* input) {
        auto* label = new QLabel(caption, this);
        Controls::nameAfter(input, label);
        form->addRow(label, input);
    };
    row(tr("名前"), m_name);
    row(tr("用紙の幅（mm）"), m_paperWidth);
    row(tr("用紙の高さ（mm）"), m_paperHeight);
    row(tr("丸の直径（mm）"), m_diameter);
    row(tr("列"), m_columns);
    row(tr("行"), m_rows);
    row(tr("最初の丸の左（mm、用紙の左端から）"), m_firstX);
    row(tr("最初の丸の上（mm、用紙の上端から）"), m_firstY);
    row(tr("横のピッチ（mm）"), m_pitchX);
    row(tr("縦のピッチ（mm）"), m_pitchY);

    m_drawing = new FirstRowDrawing(this);
    m_problem = new QLabel(this);
    Controls::name(m_problem, "sheetProblem");
    m_problem->setWordWrap(true);
    m_problem->setTextFormat(Qt::PlainText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_save = buttons->addButton(tr("保存"), QDialogButtonBox::AcceptRole);
    Controls::name(m_save, "sheetSave");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_drawing);
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    showSheet();
}

QDoubleSpinBox* NewSheetDialog::length(const char* objectName, double value)
{
    auto* box = new QDoubleSpinBox(this);
    Controls::name(box, objectName);
    box->setDecimals(2);
    box->setRange(0, Sheet::MaxPaperLong);
    box->setSingleStep(0.5);
    box->setValue(value);
    connect(box, &QDoubleSpinBox::valueChanged, this, &NewSheetDialog::showSheet);
    return box;
}

Sheet NewSheetDialog::sheet() const
{
    Sheet sheet;
    sheet.name = m_name->text().trimmed();
    sheet.paper = {m_paperWidth->value(), m_paperHeight->value()};
    sheet.diameter = m_diameter->value();
    sheet.grids = {{m_columns->value(),
                    m_rows->value(),
                    {m_firstX->value(), m_firstY->value()},
                    {m_pitchX->value(), m_pitchY->value()}}};
    return sheet;
}

void NewSheetDialog::showSheet()
{
    // Called while the fields are made: only once they all are.
    if (!m_pitchY || !m_save)
        return;
    const Sheet typed = sheet();
    const QString problem = typed.problem();
    m_drawing->show(typed);
    m_problem->setText(problem.isEmpty() ? tr("ラベル %1 枚のシート").arg(typed.positions())
                                         : problem);
    m_save->setEnabled(problem.isEmpty());
}
