#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The version dialog. It is shown without a modal loop; the main window
// disables itself while the dialog is visible and listens for hidden().
class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QPushButton* okButton() const { return m_ok; }
    // Every text in the language now in effect.
    void retranslate();

Q_SIGNALS:
    void hidden();

public Q_SLOTS:
    void dismiss();

protected:
    // Closing by the title bar or Escape ends in reject(): it acts as OK.
    void reject() override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* m_productName = nullptr;
    QLabel* m_version = nullptr;
    QLabel* m_copyright = nullptr;
    QLabel* m_comments = nullptr;
    QPushButton* m_ok = nullptr;
};
