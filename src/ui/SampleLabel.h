#pragma once

#include "core/model/LabelRun.h"
#include "core/model/PrintAppearance.h"
#include "core/render/PrintSheet.h"

#include <QImage>
#include <QWidget>

#include <optional>

// The sample label of the print screen: the first label of the run, drawn
// by the painter of the printed sheets at a resolution that fills the
// panel, so that it shows what prints: the texts, their sizes and places, the
// font and the colours. Only the frame ("枠") is the screen's own.
class SampleLabel final : public QWidget {
    Q_OBJECT
public:
    explicit SampleLabel(QWidget* parent = nullptr);

    void showLabel(const LabelRun& run, const PrintAppearance& look);
    void setLook(const PrintAppearance& look);
    // The name a screen reader speaks, in the language now in effect.
    void retranslate();

    QString upper() const { return m_upper; }
    QString lower() const { return m_lower; }
    // The drawn label, as the panel shows it.
    const QImage& image() const { return m_image; }
    // Where the disc lies in the panel.
    QRect discRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void render();

    LabelRun m_run;
    // The run's labels, which keep the size of its codes between drawings.
    std::optional<SheetLabels> m_labels;
    PrintAppearance m_look;
    QString m_upper;
    QString m_lower;
    QImage m_image;
};
