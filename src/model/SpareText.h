#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace quillor {

// A text changed one edit at a time while readers (the model, the editor's
// analysis, its decorations) hold copies of it. A copy shares the characters,
// so changing the text would copy all of it on every keystroke. Instead the
// text as it was before the last edit is kept aside: once its readers have
// moved on to the newer text, nobody else holds it, and the next edit brings
// it up to date by the last edit and the new one, in place. Readers' copies
// are never changed: only characters nobody else holds are written.
class SpareText {
public:
    // Replaces `removed` units of `text` at `position` by `added`, as
    // QString::replace does.
    void replace(QString& text, qsizetype position, qsizetype removed, QStringView added);
    // The text was changed or replaced some other way: what is kept aside no
    // longer leads to it.
    void forget();

private:
    struct Edit {
        qsizetype position = 0;
        qsizetype removed = 0;
        QString added;
    };
    QString m_before;              // the text before m_since
    std::optional<Edit> m_since;   // the edit that made the current text of m_before
};

} // namespace quillor
