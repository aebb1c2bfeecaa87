#pragma once
// Driving a form as a user does: finding fields by their label and buttons by their caption,
// typing, clicking, and acting on the next modal dialog that opens.

#include "QStringPrinting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace FormTest {

// The field a label names.
template <class Field = QLineEdit> Field* field(QWidget& form, const char* label) {
    for (QLabel* candidate : form.findChildren<QLabel*>()) {
        auto* found = qobject_cast<Field*>(candidate->buddy());
        if (found && candidate->text() == QString::fromUtf8(label))
            return found;
    }
    throw std::runtime_error(std::string("no field labelled ") + label);
}

// The button with this caption (mnemonic included).
template <class Button = QPushButton> Button* button(QWidget& form, const char* text) {
    for (Button* candidate : form.findChildren<Button*>()) {
        if (candidate->text() == QString::fromUtf8(text))
            return candidate;
    }
    throw std::runtime_error(std::string("no button ") + text);
}

inline void click(QWidget& form, const char* text) {
    QTest::mouseClick(button<QAbstractButton>(form, text), Qt::LeftButton);
}

// Types into the labelled field; with replace, its text is deleted first.
inline void type(QWidget& form, const char* label, const QString& text, bool replace = false) {
    QLineEdit* edit = field(form, label);
    if (replace) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
    }
    QTest::keyClicks(edit, text);
}

// The rows of a list as the user sees them: the cells of the first `columns` columns (all with
// -1) joined by "|", the selected row in brackets, the rows joined by `separator`.
inline QString listRows(const QTreeWidget& list, int columns = -1, QChar separator = u',') {
    QStringList texts;
    const int shown = columns < 0 ? list.columnCount() : columns;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        QStringList cells;
        for (int column = 0; column < shown; ++column)
            cells << item->text(column);
        const QString text = cells.join(u'|');
        texts << (item->isSelected() ? u'[' + text + u']' : text);
    }
    return texts.join(separator);
}

// Clicks (or double-clicks) a row of a list with the mouse.
inline void clickRow(QTreeWidget& list, int row, bool doubleClick = false) {
    const QPoint place = list.visualItemRect(list.topLevelItem(row)).center();
    // A double click starts with a click: the list only takes it on the row pressed first.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place);
    if (doubleClick)
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place);
}

// Runs the action on the next modal dialog once its event loop runs, and makes sure it closes.
inline void onNextModal(std::function<void(QDialog&)> action, int attempts = 200) {
    QTimer::singleShot(10, [action, attempts] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (attempts > 0)
                onNextModal(action, attempts - 1);
            else
                ADD_FAILURE() << "no modal dialog appeared";
            return;
        }
        action(*dialog);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "the modal dialog stayed open";
            dialog->reject();
        }
    });
}

} // namespace FormTest
