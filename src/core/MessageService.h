#pragma once

#include <QList>
#include <QString>

class QWidget;

// Every message of the program goes through here: questions, refusals (stop), hints
// (exclamation) and information. The program installs a presenter that shows message boxes;
// tests install a MessageRecorder to answer and record them. Without either, a message is
// written to standard error and answered with its safe default (no, cancel). The message about
// a lost server connection is shown once per loss (see CDatabase::lossesSoFar), not by every
// list and action that meets it.
class MessageService {
public:
    enum class Icon { Question, Stop, Exclamation, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };
    using Presenter = Answer (*)(QWidget* parent, const QString& text, Icon icon, Buttons buttons);

    static void setPresenter(Presenter presenter);
    static Answer show(QWidget* parent, const QString& text, Icon icon, Buttons buttons);

    static void stop(QWidget* parent, const QString& text) {
        show(parent, text, Icon::Stop, Buttons::Ok);
    }
    static void exclamation(QWidget* parent, const QString& text) {
        show(parent, text, Icon::Exclamation, Buttons::Ok);
    }
    static void information(QWidget* parent, const QString& text) {
        show(parent, text, Icon::Information, Buttons::Ok);
    }
    static bool askYesNo(QWidget* parent, const QString& text) {
        return show(parent, text, Icon::Question, Buttons::YesNo) == Answer::Yes;
    }
    static Answer askYesNoCancel(QWidget* parent, const QString& text) {
        return show(parent, text, Icon::Question, Buttons::YesNoCancel);
    }
};

// While one exists, messages are not shown: they are recorded and answered from a queue
// (then with the fallback answer).
class MessageRecorder {
public:
    struct Message {
        QString text;
        MessageService::Icon icon;
        MessageService::Buttons buttons;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void queueAnswer(MessageService::Answer answer) { m_answers.append(answer); }
    void setFallbackAnswer(MessageService::Answer answer) { m_fallback = answer; }
    const QList<Message>& messages() const { return m_messages; }
    QStringList texts() const;
    void clear() { m_messages.clear(); }

    MessageService::Answer record(const QString& text, MessageService::Icon icon,
                                  MessageService::Buttons buttons);

private:
    QList<Message> m_messages;
    QList<MessageService::Answer> m_answers;
    MessageService::Answer m_fallback = MessageService::Answer::No;
    MessageRecorder* m_previous;
};
