#pragma once

#include "core/BaseData.h"
#include "core/FinanceModel.h"
#include "widgets/FieldBindings.h"

#include <QGroupBox>

#include <memory>
#include <optional>

class CRecordset;

namespace Ui {
class CBookingGroup;
}

// The group "Kosten" of the cost forms: one booking of T_Event_Finanzen with its amount, VAT,
// payment and document fields. The forms differ only in a few captions and defaults, given as
// Setup. Every field it holds marks the form changed: the text fields by their edited flag, the
// others through changed().
class CBookingGroup : public QGroupBox {
    Q_OBJECT
public:
    struct Setup {
        const char* amountLabel = "Betrag";
        const char* paymentDateLabel = "bezahlt am";
        const char* remarkLabel = "Bemerkungen";
        const char* receiptText = "Beleg";
        // The fourth payment method "EC/Kreditkarte".
        bool cardPayment = false;
        // The rate buttons and "MWST Betrag" (the overnight costs have none).
        bool vatChoice = true;
        // Number and document date are stored also when paid against a receipt.
        bool numberWithReceipt = false;
        int newPaymentMethod = 1; // "Scheck"
        int newPaidAgainst = 1;   // "Beleg"
    };

    explicit CBookingGroup(QWidget* parent = nullptr);
    ~CBookingGroup() override;

    // Captions, rate texts and currency labels; call once before showing a booking.
    void setUp(const Setup& setup, const BaseData& base);

    // A new booking: the fields empty, "inkl. MwSt" ticked, rate 1, the setup's defaults.
    void clear();
    // Shows a booking row.
    void load(const CRecordset& row);
    // Checks the fields (German refusals, focus on the faulty field); false after a refusal.
    bool read();
    // Writes the booking's fields to the row being added or edited.
    void store(CRecordset& row) const;

    // What the fields hold now, read without refusals.
    double typedAmount() const;
    bool includesVat() const;
    double rate() const;
    // The amount as the display mode shows it.
    double typedDisplayAmount(Finance::VatMode mode) const;
    // What read() took from the amount field.
    std::optional<double> readAmount() const;
    bool paidAgainstReceipt() const;

    QWidget* amountField() const;

Q_SIGNALS:
    // A field other than a text field was changed by the user.
    void changed();
    // The amount, "inkl. MwSt" or the rate changed: the VAT part and the live budget follow.
    void amountChanged();

private:
    void showVatPart();
    void showPaidAgainst();

    std::unique_ptr<Ui::CBookingGroup> m_ui;
    Setup m_setup;
    BaseData m_base;
    FieldBindings m_fields;
    AmountBinding* m_amount = nullptr;
    RadioBinding* m_paidAgainst = nullptr;
};
