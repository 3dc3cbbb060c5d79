#pragma once

#include "core/layout/Sheet.h"
#include "core/layout/SheetGeometry.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPageLayout>

#include <functional>
#include <optional>

class PrintCanvas;
class QLabel;
class QScrollArea;
class QToolButton;

// Every sheet of a job as the printer will get it: the pages are drawn by
// the painter of the printed sheets, on the printer's page layout, into
// images at the zoom's resolution. Nothing is printed, logged or advanced.
class PreviewDialog final : public QDialog {
    Q_OBJECT
public:
    // draw(canvas) draws the whole document on the canvas it is given.
    PreviewDialog(const QPageLayout& layout, std::function<void(PrintCanvas&)> draw,
                  QWidget* parent = nullptr);

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return m_page; } // 0-based
    int dpi() const;
    const QList<QImage>& pages() const { return m_pages; }

    void showPage(int page);
    void zoomIn();
    void zoomOut();
    void zoomTo(int zoom);
    // Faint outlines of the sheet's discs under the labels, on the screen
    // only, so that the user sees where the labels sit.
    void showDiscs(const Sheet& sheet, const SheetGeometry::Offsets& offsets);

private:
    void render();
    void drawDiscs();
    void showCurrent();

    QPageLayout m_layout;
    std::function<void(PrintCanvas&)> m_draw;
    std::optional<SheetGeometry::Offsets> m_discs;
    Sheet m_sheet = Sheet::builtIn();
    QList<QImage> m_pages;
    int m_page = 0;
    int m_zoom = 2; // index into the resolutions
    QScrollArea* m_scroll = nullptr;
    QLabel* m_image = nullptr;
    QLabel* m_pageLabel = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
};
