#pragma once

#include <QList>
#include <QTextBlockFormat>

#include <optional>

class QTextBlock;
class QTextDocument;

namespace quillor {

// The paragraphs one styling pass changed, handed to the document together.
// Each change on its own would lay the document out again from that
// paragraph to the end, which made a pass over thousands of paragraphs (a
// paste) quadratic. Changes close to one another are laid out as one run;
// runs far apart stay apart, so that a caret moving across the text does not
// lay out everything in between.
class LayoutBatch {
public:
    explicit LayoutBatch(QTextDocument& document) : m_document(document) {}
    LayoutBatch(const LayoutBatch&) = delete;
    LayoutBatch& operator=(const LayoutBatch&) = delete;

    // The paragraph's layout formats changed: it must be laid out again.
    void relayout(const QTextBlock& block);
    // The paragraph takes this block format.
    void setBlockFormat(const QTextBlock& block, const QTextBlockFormat& format);

    bool isEmpty() const { return m_changes.isEmpty(); }
    // Applies everything gathered, one layout per run, and starts afresh.
    // While the document reports a change the runs join the change being
    // reported, laid out once it has been reported; block formats join it
    // only inside an edit block held open past the report (Qt lays out at
    // the end of each edit block, even one nested in a report).
    void apply();

private:
    struct Change {
        int block = 0;
        int position = 0;
        int length = 0;
        std::optional<QTextBlockFormat> format;
    };

    QTextDocument& m_document;
    QList<Change> m_changes;
};

} // namespace quillor
