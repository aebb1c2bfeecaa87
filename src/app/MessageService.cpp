#include "MessageService.h"

#include <QMessageBox>
#include <QStringList>

namespace {
MessageRecorder* activeRecorder = nullptr;
}

MessageService::Answer MessageService::show(QWidget* parent, const QString& text, Icon icon,
                                            Buttons buttons) {
    if (activeRecorder)
        return activeRecorder->record(text, icon, buttons);

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

MessageRecorder::MessageRecorder() : m_previous(activeRecorder) {
    activeRecorder = this;
}

MessageRecorder::~MessageRecorder() {
    activeRecorder = m_previous;
}

QStringList MessageRecorder::texts() const {
    QStringList list;
    for (const Message& message : m_messages)
        list << message.text;
    return list;
}

MessageService::Answer MessageRecorder::record(const QString& text, MessageService::Icon icon,
                                               MessageService::Buttons buttons) {
    m_messages.append({text, icon, buttons});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (buttons == MessageService::Buttons::Ok)
        return MessageService::Answer::Ok;
    return m_fallback;
}
