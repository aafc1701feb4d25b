#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QStackedWidget;

namespace carvendo::core {
class Dialogs;
} // namespace carvendo::core

namespace carvendo::pos {
class PosClassic;
} // namespace carvendo::pos

namespace carvendo::ui {

// The "Cassa" page of the keyboard till: the payment buttons, the amount received and the change,
// the fiscal code, the payment's own page (banknotes, cheque, credit voucher, operator pack) and the
// closings. What is typed goes to the till's logic as it is typed.
class PosCashPage : public QWidget
{
    Q_OBJECT
public:
    PosCashPage(pos::PosClassic& logic, core::Dialogs& dialogs, QWidget* parent = nullptr);

    QLineEdit* received() const { return m_received; }
    void render();

private:
    QWidget* buildPaymentPages();
    QWidget* buildChequePage();
    QWidget* buildPackPage();
    void renderPack();
    void readPackAmounts();

    pos::PosClassic& m_logic;
    core::Dialogs& m_dialogs;
    int m_shownSale = 0; // the sale whose cheque and pack the fields show

    QStackedWidget* m_paymentPages = nullptr;
    QLabel* m_paymentLabel = nullptr;
    QLabel* m_paymentIcon = nullptr;
    QLabel* m_total = nullptr;
    QLineEdit* m_received = nullptr;
    QLabel* m_change = nullptr;
    QLineEdit* m_fiscalCode = nullptr;
    QLineEdit* m_chequeAmount = nullptr;
    QLineEdit* m_chequeBank = nullptr;
    QLineEdit* m_chequeNumber = nullptr;
    QLabel* m_chequeImage = nullptr;
    QLabel* m_packDescription = nullptr;
    QButtonGroup* m_packOptions = nullptr;
    QCheckBox* m_royalty = nullptr;
    QCheckBox* m_commitment = nullptr;
    QLineEdit* m_customerContribution = nullptr;
    QLineEdit* m_operatorContribution = nullptr;
    QLineEdit* m_points = nullptr;
    QLineEdit* m_subscription = nullptr;
    QLineEdit* m_promotionDiscount = nullptr;
};

} // namespace carvendo::ui
