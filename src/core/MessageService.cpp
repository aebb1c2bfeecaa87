#include "MessageService.h"

#include <QStringList>

#include <cstdio>

namespace {
MessageRecorder* activeRecorder = nullptr;
MessageService::Presenter activePresenter = nullptr;
} // namespace

void MessageService::setPresenter(Presenter presenter) {
    activePresenter = presenter;
}

MessageService::Answer MessageService::show(QWidget* parent, const QString& text, Icon icon,
                                            Buttons buttons) {
    if (activeRecorder)
        return activeRecorder->record(text, icon, buttons);
    if (activePresenter)
        return activePresenter(parent, text, icon, buttons);
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
    return buttons == Buttons::Ok ? Answer::Ok
                                  : (buttons == Buttons::YesNo ? Answer::No : Answer::Cancel);
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
