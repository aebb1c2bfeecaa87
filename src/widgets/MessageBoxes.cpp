#include "MessageBoxes.h"

#include "core/MessageService.h"

#include <QMessageBox>

namespace {

MessageService::Answer showBox(QWidget* parent, const QString& text, MessageService::Icon icon,
                               MessageService::Buttons buttons) {
    using Icon = MessageService::Icon;
    using Buttons = MessageService::Buttons;
    using Answer = MessageService::Answer;
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("Vorlanto"));
    box.setText(text);
    switch (icon) {
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        // Escape on a yes/no box closes it: that is a no.
        return buttons == Buttons::Ok ? Answer::Ok
                                      : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
    }
}

} // namespace

namespace MessageBoxes {

void install() {
    MessageService::setPresenter(&showBox);
}

} // namespace MessageBoxes
