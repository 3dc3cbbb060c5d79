#pragma once

#include "core/layout/Sheet.h"

#include <QDialog>

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class FirstRowDrawing;

// A label sheet typed in: its name, paper, disc and grid, in millimetres
// from the paper's corner, with a drawing of its first row. Save stays off,
// and the line under the drawing says why, while the sheet is unusable.
class NewSheetDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NewSheetDialog(QWidget* parent = nullptr);

    Sheet sheet() const;

private:
    QDoubleSpinBox* length(const char* objectName, double value);
    void showSheet();

    QLineEdit* m_name = nullptr;
    QDoubleSpinBox* m_paperWidth = nullptr;
    QDoubleSpinBox* m_paperHeight = nullptr;
    QDoubleSpinBox* m_diameter = nullptr;
    QSpinBox* m_columns = nullptr;
    QSpinBox* m_rows = nullptr;
    QDoubleSpinBox* m_firstX = nullptr;
    QDoubleSpinBox* m_firstY = nullptr;
    QDoubleSpinBox* m_pitchX = nullptr;
    QDoubleSpinBox* m_pitchY = nullptr;
    FirstRowDrawing* m_drawing = nullptr;
    QLabel* m_problem = nullptr;
    QPushButton* m_save = nullptr;
};
