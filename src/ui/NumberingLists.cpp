#include "ui/NumberingLists.h"

#include "core/model/LabelDesign.h"
#include "ui/Controls.h"
#include "ui/DesignScreen.h"
#include "ui/ListBox.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

NumberingLists::NumberingLists(DesignControls& controls, LabelDesign& design, QWidget* client,
                               QMenuBar* menuBar, QObject* parent)
    : QObject(parent), m_c(controls), m_design(design)
{
    m_c.designPanel = new QWidget(client);
    m_c.designPanel->setObjectName(QStringLiteral("designPanel"));
    m_c.designPanel->setGeometry(88, 136, 761, 433);
    QWidget* panel = m_c.designPanel;

    auto makeList = [panel](const char* name, int x, int y, int w, int h) {
        return ListBox::make(panel, name, QRect(x, y, w, h));
    };
    m_c.firstNumberCaption = Controls::label(panel, "firstNumberCaption", QString(), 484, 4);
    m_c.firstNumberList = makeList("firstNumberList", 484, 26, 76, 300);
    m_c.sampleCountCaption = Controls::label(panel, "sampleCountCaption", QString(), 572, 4);
    m_c.sampleCountList = makeList("sampleCountList", 572, 26, 84, 300);
    m_c.repeatCountCaption = Controls::label(panel, "repeatCountCaption", QString(), 668, 4);
    m_c.repeatCountList = makeList("repeatCountList", 668, 26, 84, 110);
    m_c.dateAdjustCaption = Controls::label(panel, "dateAdjustCaption", QString(), 668, 150);
    m_c.dateAdjustList = makeList("dateAdjustList", 668, 172, 84, 154);
    Controls::nameAfter(m_c.firstNumberList, m_c.firstNumberCaption);
    Controls::nameAfter(m_c.sampleCountList, m_c.sampleCountCaption);
    Controls::nameAfter(m_c.repeatCountList, m_c.repeatCountCaption);
    Controls::nameAfter(m_c.dateAdjustList, m_c.dateAdjustCaption);
    m_c.sampleCountList->setNumberRange(1, MaxSampleCount);
    m_c.firstNumberList->setNumberRange(0, 9999);
    m_c.repeatCountList->setNumberRange(1, 5);
    m_c.dateAdjustList->setNumberRange(-MaxDateAdjust, MaxDateAdjust);

    m_c.printSetButton = new QPushButton(panel);
    Controls::name(m_c.printSetButton, "printSetButton");
    m_c.printSetButton->setGeometry(572, 348, 180, 64);
    m_c.printSetButton->setFont(Controls::gothic(20));
    m_c.nextJobLine = Controls::label(panel, "nextJobLine", QString(), 484, 330, 270, 18);

    connect(m_c.firstNumberList, &ListBox::currentRowChanged, this,
            &NumberingLists::chooseFirstNumber);
    connect(m_c.sampleCountList, &ListBox::currentRowChanged, this,
            &NumberingLists::chooseSampleCount);
    connect(m_c.repeatCountList, &ListBox::currentRowChanged, this,
            &NumberingLists::chooseRepeatCount);
    connect(m_c.dateAdjustList, &ListBox::currentRowChanged, this,
            &NumberingLists::chooseDateAdjust);
    buildMenus(menuBar);
}

void NumberingLists::buildMenus(QMenuBar* menuBar)
{
    auto item = [](QMenu* menu, const QString& name, bool checked) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(name);
        action->setCheckable(true);
        action->setChecked(checked);
        return action;
    };
    m_c.numberDisplayMenu = menuBar->addMenu(QString());
    m_c.numberDisplayMenu->setObjectName(QStringLiteral("numberDisplayMenu"));
    m_c.paddedNumbersAction =
        item(m_c.numberDisplayMenu, QStringLiteral("paddedNumbersAction"), true);
    m_c.plainNumbersAction =
        item(m_c.numberDisplayMenu, QStringLiteral("plainNumbersAction"), false);
    connect(m_c.paddedNumbersAction, &QAction::triggered, this,
            [this] { choosePlainNumbers(false); });
    connect(m_c.plainNumbersAction, &QAction::triggered, this,
            [this] { choosePlainNumbers(true); });
    m_c.stepMenu = menuBar->addMenu(QString());
    m_c.stepMenu->setObjectName(QStringLiteral("stepMenu"));
    for (size_t i = 0; i < NumberSteps.size(); ++i) {
        QAction* action =
            item(m_c.stepMenu, QStringLiteral("step%1Action").arg(NumberSteps[i]), i == 0);
        action->setText(QString::number(NumberSteps[i]));
        connect(action, &QAction::triggered, this, [this, i] { chooseStep(int(i)); });
        m_c.stepActions[i] = action;
    }
}

void NumberingLists::retranslate()
{
    Controls::setCaption(m_c.firstNumberCaption, DesignScreen::tr("初期値"));
    Controls::setCaption(m_c.sampleCountCaption, DesignScreen::tr("サンプル数"));
    Controls::setCaption(m_c.repeatCountCaption, DesignScreen::tr("リピート数"));
    Controls::setCaption(m_c.dateAdjustCaption, DesignScreen::tr("日時調整"));
    m_c.printSetButton->setText(DesignScreen::tr("PrintSet"));
    m_c.printSetButton->setAccessibleDescription(DesignScreen::tr("印刷の設定画面に進みます"));
    m_c.numberDisplayMenu->setTitle(DesignScreen::tr("数字表示"));
    // Full-width digits in Japanese, as the menu always read there.
    m_c.paddedNumbersAction->setText(DesignScreen::tr("０００１"));
    m_c.plainNumbersAction->setText(DesignScreen::tr("１"));
    m_c.stepMenu->setTitle(DesignScreen::tr("ステップ"));
}

void NumberingLists::showDesign()
{
    const LabelTypeTraits& traits = labelType(m_design.type);
    m_c.firstNumberList->setNumberRange(0, (traits.hasNumber() ? traits.range : 10000) - 1);
    m_c.firstNumberList->selectRow(m_design.firstNumber);
    m_c.sampleCountList->selectRow(m_design.sampleCount - 1);
    m_c.repeatCountList->setNumberRange(1,
                                        std::max(maxRepeatCount(m_design), m_design.repeatCount));
    m_c.repeatCountList->selectRow(m_design.repeatCount - 1);
    m_c.dateAdjustList->selectRow(m_design.dateAdjust + MaxDateAdjust);
    m_c.paddedNumbersAction->setChecked(!m_design.plainNumbers);
    m_c.plainNumbersAction->setChecked(m_design.plainNumbers);
    for (size_t i = 0; i < NumberSteps.size(); ++i)
        m_c.stepActions[i]->setChecked(NumberSteps[i] == m_design.step);
}

void NumberingLists::showType(const LabelTypeTraits& traits)
{
    m_c.firstNumberCaption->setVisible(traits.hasNumber());
    m_c.firstNumberList->setVisible(traits.hasNumber());
    showDateAdjust(traits.hasDate());
}

void NumberingLists::fitToType(const LabelTypeTraits& traits)
{
    if (traits.hasNumber()) {
        const int range = traits.range;
        m_c.firstNumberList->setNumberRange(0, range - 1);
        if (traits.digits < 4 && m_design.firstNumber >= range)
            m_design.firstNumber %= range;
        m_c.firstNumberList->selectRow(m_design.firstNumber);
        chooseFirstNumber();
    }
    // Type10 refills the list too: a count of 6 or 7 left by a blank Type8
    // would otherwise reach a rainbow table of five colours.
    int remembered = std::max(0, m_c.repeatCountList->currentRow());
    const int most = maxRepeatCount(m_design);
    m_c.repeatCountList->setNumberRange(1, most);
    if (remembered >= most)
        remembered = 0;
    m_c.repeatCountList->selectRow(remembered);
    m_design.repeatCount = remembered + 1;
}

void NumberingLists::showFirstNumber()
{
    m_c.firstNumberList->selectRow(m_design.firstNumber);
    Q_EMIT numberShown();
}

void NumberingLists::showSampleCount()
{
    m_c.sampleCountList->selectRow(m_design.sampleCount - 1);
}

void NumberingLists::showDateAdjust(bool shown)
{
    m_c.dateAdjustList->setVisible(shown);
    m_c.dateAdjustCaption->setVisible(shown);
}

void NumberingLists::choosePlainNumbers(bool plain)
{
    m_c.paddedNumbersAction->setChecked(!plain);
    m_c.plainNumbersAction->setChecked(plain);
    m_design.plainNumbers = plain;
    Q_EMIT numberShown();
    Q_EMIT numberingChanged();
    Q_EMIT edited();
}

void NumberingLists::chooseStep(int index)
{
    for (size_t i = 0; i < m_c.stepActions.size(); ++i)
        m_c.stepActions[i]->setChecked(int(i) == index);
    m_design.step = NumberSteps[size_t(index)];
    Q_EMIT numberingChanged();
    Q_EMIT edited();
}

void NumberingLists::chooseFirstNumber()
{
    m_design.firstNumber = std::max(0, m_c.firstNumberList->currentRow());
    Q_EMIT numberShown();
    Q_EMIT edited();
}

void NumberingLists::chooseSampleCount()
{
    m_design.sampleCount = m_c.sampleCountList->currentRow() + 1;
    Q_EMIT edited();
}

void NumberingLists::chooseRepeatCount()
{
    m_design.repeatCount = m_c.repeatCountList->currentRow() + 1;
    Q_EMIT edited();
}

void NumberingLists::chooseDateAdjust()
{
    m_design.dateAdjust = m_c.dateAdjustList->currentRow() - MaxDateAdjust;
    Q_EMIT dateAdjusted(m_c.dateAdjustList->currentRow());
    Q_EMIT edited();
}
