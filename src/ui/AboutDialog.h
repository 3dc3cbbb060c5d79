#pragma once

#include <QDialog>

class QPushButton;

// The version dialog. It is shown without a modal loop; the main window
// disables itself while the dialog is visible and listens for hidden().
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_ok; }

Q_SIGNALS:
    void hidden();

public Q_SLOTS:
    void dismiss();

protected:
    // Closing by the title bar or Escape ends in reject(): it acts as OK.
    void reject() override;

private:
    QPushButton* m_ok = nullptr;
};
