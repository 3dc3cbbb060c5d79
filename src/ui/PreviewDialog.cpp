#include "ui/PreviewDialog.h"

#include "core/layout/SheetLayout.h"
#include "print/ImagePagesCanvas.h"
#include "ui/Controls.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>

namespace {

// Resolutions of the zoom steps, in dots per inch of the page.
constexpr std::array<int, 6> Zooms = {36, 54, 72, 108, 144, 216};

const QColor DiscOutline(200, 200, 200);

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text,
                        const QString& caption, const QKeySequence& key)
{
    auto* button = new QToolButton(parent);
    Controls::name(button, name, caption);
    button->setText(text);
    button->setToolTip(caption);
    button->setShortcut(key);
    button->setAutoRepeat(false);
    return button;
}

} // namespace

PreviewDialog::PreviewDialog(const QPageLayout& layout, std::function<void(PrintCanvas&)> draw,
                             QWidget* parent)
    : QDialog(parent), m_layout(layout), m_draw(std::move(draw))
{
    setObjectName(QStringLiteral("previewDialog"));
    setWindowTitle(tr("プレビュー"));
    setFont(Controls::gothic(15, false));

    m_previous = toolButton(this, "previousPage", QStringLiteral("◀"), tr("前のページ"),
                            QKeySequence(Qt::Key_PageUp));
    m_next = toolButton(this, "nextPage", QStringLiteral("▶"), tr("次のページ"),
                        QKeySequence(Qt::Key_PageDown));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("pageNumber"));
    m_pageLabel->setMinimumWidth(80);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    auto* smaller =
        toolButton(this, "zoomOut", QStringLiteral("－"), tr("縮小"), QKeySequence::ZoomOut);
    auto* larger =
        toolButton(this, "zoomIn", QStringLiteral("＋"), tr("拡大"), QKeySequence::ZoomIn);
    auto* close = new QPushButton(tr("閉じる"), this);
    close->setObjectName(QStringLiteral("closePreview"));

    auto* bar = new QHBoxLayout;
    bar->addWidget(m_previous);
    bar->addWidget(m_pageLabel);
    bar->addWidget(m_next);
    bar->addSpacing(24);
    bar->addWidget(smaller);
    bar->addWidget(larger);
    bar->addStretch();
    bar->addWidget(close);

    m_image = new QLabel;
    m_image->setObjectName(QStringLiteral("pageImage"));
    m_image->setAlignment(Qt::AlignCenter);
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(m_image);
    m_scroll->setWidgetResizable(true);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* column = new QVBoxLayout(this);
    column->addLayout(bar);
    column->addWidget(m_scroll);

    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(smaller, &QToolButton::clicked, this, &PreviewDialog::zoomOut);
    connect(larger, &QToolButton::clicked, this, &PreviewDialog::zoomIn);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    render();
    resize(720, 860);
}

int PreviewDialog::dpi() const
{
    return Zooms[size_t(m_zoom)];
}

void PreviewDialog::render()
{
    ImagePagesCanvas canvas(m_layout, dpi());
    m_draw(canvas);
    m_pages = canvas.pages();
    if (m_discs)
        drawDiscs();
    m_page = std::clamp(m_page, 0, std::max(0, pageCount() - 1));
    showCurrent();
}

void PreviewDialog::showDiscs(const Sheet& sheet, const SheetGeometry::Offsets& offsets)
{
    m_sheet = sheet;
    m_discs = offsets;
    render();
}

void PreviewDialog::drawDiscs()
{
    // Where the painter puts them: the built-in sheet from the printable
    // area, any other from the paper's corner.
    const QPoint origin = m_layout.paintRectPixels(dpi()).topLeft();
    const SheetDots::Placement placement(m_sheet, *m_discs, dpi(), dpi(), -origin);
    for (QImage& page : m_pages) {
        QPainter painter(&page);
        painter.setRenderHint(QPainter::Antialiasing);
        // Multiplied, so that the ink of a label stays as it prints.
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        painter.setPen(QPen(DiscOutline, 1));
        painter.setBrush(Qt::NoBrush);
        for (int p = 1; p <= m_sheet.positions(); ++p) {
            const DeviceBox box = placement.place(p).box;
            painter.drawEllipse(
                QRect(QPoint(box.left, box.top), QPoint(box.right, box.bottom)).translated(origin));
        }
    }
}

void PreviewDialog::showCurrent()
{
    m_image->setPixmap(m_pages.isEmpty() ? QPixmap() : QPixmap::fromImage(m_pages[m_page]));
    m_pageLabel->setText(
        QStringLiteral("%1 / %2").arg(m_pages.isEmpty() ? 0 : m_page + 1).arg(pageCount()));
    m_previous->setEnabled(m_page > 0);
    m_next->setEnabled(m_page + 1 < pageCount());
}

void PreviewDialog::showPage(int page)
{
    if (page < 0 || page >= pageCount())
        return;
    m_page = page;
    showCurrent();
}

void PreviewDialog::zoomIn()
{
    zoomTo(m_zoom + 1);
}

void PreviewDialog::zoomOut()
{
    zoomTo(m_zoom - 1);
}

void PreviewDialog::zoomTo(int zoom)
{
    if (zoom < 0 || zoom >= int(Zooms.size()))
        return;
    // The point of the page in the middle of the view stays there.
    QScrollBar* across = m_scroll->horizontalScrollBar();
    QScrollBar* down = m_scroll->verticalScrollBar();
    const QSize viewport = m_scroll->viewport()->size();
    const QSizeF before = m_image->size();
    const double x = (across->value() + viewport.width() / 2.0) / std::max(1.0, before.width());
    const double y = (down->value() + viewport.height() / 2.0) / std::max(1.0, before.height());
    m_zoom = zoom;
    render();
    m_image->resize(m_image->sizeHint().expandedTo(viewport));
    across->setValue(int(x * m_image->width() - viewport.width() / 2.0));
    down->setValue(int(y * m_image->height() - viewport.height() / 2.0));
}
