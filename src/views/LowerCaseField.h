#pragma once

#include <QLineEdit>

// Turns letters into lower case as they are typed, the way the password fields take them; the
// field stays edited.
inline void keepLowerCase(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString lower = text.toLower();
        if (lower == text)
            return;
        const int position = edit->cursorPosition() + int(lower.size() - text.size());
        edit->setText(lower);
        edit->setCursorPosition(position);
        edit->setModified(true);
    });
}
