#include "CBookingGroup.h"

#include "data/CRecordset.h"

#include "ui_CBookingGroup.h"

#include <QSignalBlocker>

namespace {

// fMWST is a Byte column holding 1 or 0; any value but 0 counts as "includes VAT".
class VatFlagBinding : public FieldBinding {
public:
    VatFlagBinding(QCheckBox* check, std::string_view column)
        : FieldBinding(check, column), m_check(check) {}
    void clear() override { m_check->setChecked(true); }
    void load(const CRecordset& row) override {
        m_check->setChecked(!row.isNull(column()) && row.getInt(column()) != 0);
    }
    bool read() override {
        m_value = m_check->isChecked();
        return true;
    }
    void store(CRecordset& row) const override { row.setInt(column(), m_value ? 1 : 0); }
    void watch(const std::function<void()>& changed) override {
        QObject::connect(m_check, &QCheckBox::clicked, m_check, [changed] { changed(); });
    }

private:
    QCheckBox* m_check;
    bool m_value = true;
};

QString rateText(double rate) {
    return QString::asprintf("%.0f %%", rate);
}

} // namespace

CBookingGroup::CBookingGroup(QWidget* parent)
    : QGroupBox(parent), m_ui(std::make_unique<Ui::CBookingGroup>()) {
    m_ui->setupUi(this);
}

CBookingGroup::~CBookingGroup() = default;

void CBookingGroup::setUp(const Setup& setup, const BaseData& base) {
    m_setup = setup;
    m_base = base;
    m_ui->labelBetrag->setText(QString::fromUtf8(setup.amountLabel));
    m_ui->labelZDatum->setText(QString::fromUtf8(setup.paymentDateLabel));
    m_ui->labelBemerkung->setText(QString::fromUtf8(setup.remarkLabel));
    m_ui->radioBeleg->setText(QString::fromUtf8(setup.receiptText));
    m_ui->radioKarte->setVisible(setup.cardPayment);
    m_ui->widgetSaetze->setVisible(setup.vatChoice);
    m_ui->labelMwstBetrag->setVisible(setup.vatChoice);
    m_ui->editMwstBetrag->setVisible(setup.vatChoice);
    m_ui->labelWaehrung2->setVisible(setup.vatChoice);
    m_ui->radioSatz1->setText(rateText(base.vatRate1));
    m_ui->radioSatz2->setText(rateText(base.vatRate2));
    m_ui->labelWaehrung1->setText(base.currencyShort);
    m_ui->labelWaehrung2->setText(base.currencyShort);

    m_amount = m_fields.add<AmountBinding>(m_ui->editBetrag, "Auszahlung");
    if (setup.vatChoice) {
        m_fields.add<VatFlagBinding>(m_ui->checkInklMwSt, "fMWST");
        m_fields.add<RadioBinding>(
            QList<QPair<QRadioButton*, int>>{{m_ui->radioSatz1, 1}, {m_ui->radioSatz2, 2}},
            "MwSt_Satz", 1);
    }
    m_fields.add<DateBinding>(m_ui->editZDatum, "ZDatum");
    QList<QPair<QRadioButton*, int>> methods{
        {m_ui->radioBar, 0}, {m_ui->radioScheck, 1}, {m_ui->radioUeberweisung, 2}};
    if (setup.cardPayment)
        methods.append({m_ui->radioKarte, 3});
    m_fields.add<RadioBinding>(methods, "Zahlungsart", setup.newPaymentMethod);
    m_paidAgainst = m_fields.add<RadioBinding>(
        QList<QPair<QRadioButton*, int>>{{m_ui->radioRechnung, 0}, {m_ui->radioBeleg, 1}},
        "ZahlungGegen", setup.newPaidAgainst);
    m_fields.add<TextBinding>(m_ui->editNr, "RechnungNr", 50);
    m_fields.add<DateBinding>(m_ui->editRDatum, "RDatum");
    m_fields.add<MemoBinding>(m_ui->editBemerkung, "Bemerkung", 255);
    m_fields.watch([this] { Q_EMIT changed(); });

    connect(m_ui->editBetrag, &QLineEdit::textEdited, this, [this] {
        showVatPart();
        Q_EMIT amountChanged();
    });
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(m_ui->checkInklMwSt),
                                    static_cast<QAbstractButton*>(m_ui->radioSatz1),
                                    static_cast<QAbstractButton*>(m_ui->radioSatz2)})
        connect(button, &QAbstractButton::clicked, this, [this] {
            showVatPart();
            Q_EMIT amountChanged();
        });
    for (QRadioButton* button : {m_ui->radioRechnung, m_ui->radioBeleg})
        connect(button, &QRadioButton::toggled, this, [this] { showPaidAgainst(); });
}

void CBookingGroup::clear() {
    m_fields.clear();
    m_ui->checkInklMwSt->setChecked(true);
    m_ui->radioSatz1->setChecked(true);
    showVatPart();
    showPaidAgainst();
}

void CBookingGroup::load(const CRecordset& row) {
    m_fields.load(row);
    showVatPart();
    showPaidAgainst();
}

bool CBookingGroup::read() {
    return m_fields.read();
}

void CBookingGroup::store(CRecordset& row) const {
    m_fields.store(row);
    if (!m_setup.vatChoice) {
        // Without a choice the amount is gross at rate 1.
        row.setInt("fMWST", 1);
        row.setInt("MwSt_Satz", 1);
    }
    if (m_paidAgainst->value() == 1 && !m_setup.numberWithReceipt) {
        // A receipt has no invoice number or date.
        row.setNull("RechnungNr");
        row.setNull("RDatum");
    }
}

double CBookingGroup::typedAmount() const {
    return Finance::parseAmount(m_ui->editBetrag->text()).value_or(0.0);
}

bool CBookingGroup::includesVat() const {
    return !m_setup.vatChoice || m_ui->checkInklMwSt->isChecked();
}

double CBookingGroup::rate() const {
    return m_ui->radioSatz2->isChecked() && m_setup.vatChoice ? m_base.vatRate2 : m_base.vatRate1;
}

double CBookingGroup::typedDisplayAmount(Finance::VatMode mode) const {
    return Finance::enteredDisplayAmount(typedAmount(), includesVat(), rate(), mode);
}

std::optional<double> CBookingGroup::readAmount() const {
    return m_amount->value();
}

bool CBookingGroup::paidAgainstReceipt() const {
    return m_ui->radioBeleg->isChecked();
}

QWidget* CBookingGroup::amountField() const {
    return m_ui->editBetrag;
}

void CBookingGroup::showVatPart() {
    const std::optional<double> amount = Finance::parseAmount(m_ui->editBetrag->text());
    m_ui->editMwstBetrag->setText(
        amount ? Finance::formatAmount(Finance::vatPart(*amount, rate(), includesVat()))
               : QString());
}

void CBookingGroup::showPaidAgainst() {
    const bool invoice = !m_ui->radioBeleg->isChecked() || m_setup.numberWithReceipt;
    m_ui->editNr->setEnabled(invoice);
    m_ui->editRDatum->setEnabled(invoice);
}
