#include "MessageService.h"

#include "data/CDaoException.h"
#include "data/CDatabase.h"

#include <QStringList>

#include <cstdio>

namespace {
MessageRecorder* activeRecorder = nullptr;
MessageService::Presenter activePresenter = nullptr;
// The loss of the server connection (CDatabase::lossesSoFar) whose message was shown last.
int shownLoss = -1;

// A lost connection fails every list refresh and every action until it is back: the user hears
// of it once per loss. A message that only names the loss is not shown again.
bool repeatsShownLoss(const QString& text, MessageService::Buttons buttons) {
    if (buttons != MessageService::Buttons::Ok ||
        !text.contains(CDaoException::connectionLostText()))
        return false;
    if (shownLoss == CDatabase::lossesSoFar())
        return true;
    shownLoss = CDatabase::lossesSoFar();
    return false;
}
} // namespace

void MessageService::setPresenter(Presenter presenter) {
    activePresenter = presenter;
}

MessageService::Answer MessageService::show(QWidget* parent, const QString& text, Icon icon,
                                            Buttons buttons) {
    if (repeatsShownLoss(text, buttons))
        return Answer::Ok;
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
