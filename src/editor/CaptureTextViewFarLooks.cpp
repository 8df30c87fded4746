#include "editor/CaptureTextView.h"

#include "editor/LayoutBatch.h"

#include <QAbstractTextDocumentLayout>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>

namespace quillor {

namespace {

// A selection change whose looks reach over more paragraphs than this is
// applied near the view first, and the rest a turn of the event loop at a
// time, last paragraphs first: each turn lays out again only what follows
// its paragraphs, which is then already done.
constexpr int paragraphsAtOnce = 600;
constexpr int paragraphsPerTurn = 1000;
// The rest waits this long, so that a key right after (Backspace after
// select-all) need not wait for looks it makes useless.
constexpr int restDelayMs = 50;

} // namespace

// Selecting all of a long capture shows the syntax of every paragraph, each
// laid out again: hundreds of milliseconds for a megabyte, before the
// selection even shows. The selection now waits only for the paragraphs near
// the view.
std::optional<TextRange> CaptureTextView::deferFarLooks(TextRange changed)
{
    QTextDocument* doc = document();
    const TextRange inText = clampedTo(changed, m_content.text.size());
    if (doc->findBlock(int(inText.end())).blockNumber() - doc->findBlock(int(inText.location)).blockNumber()
        < paragraphsAtOnce)
        return changed;
    m_deferredLooks = TextRange::spanning(m_deferredLooks, changed);
    scheduleFarLooks(false);
    const TextRange near = charactersNearView();
    const qsizetype start = std::max(near.location, changed.location);
    const qsizetype end = std::min(near.end(), changed.end());
    if (start >= end)
        return std::nullopt;
    return TextRange::fromBounds(start, end);
}

// The paragraphs in view, with a view's height more on either side, so that
// a short scroll meets text already styled.
TextRange CaptureTextView::charactersNearView() const
{
    const int height = viewport()->height();
    const QTextBlock first = cursorForPosition(QPoint(0, -height)).block();
    const QTextBlock last = cursorForPosition(QPoint(viewport()->width(), 2 * height)).block();
    return TextRange::fromBounds(first.position(), last.position() + last.length() - 1);
}

void CaptureTextView::scheduleFarLooks(bool soon)
{
    if (std::exchange(m_farLooksQueued, true))
        return;
    QTimer::singleShot(soon ? 0 : restDelayMs, this, [this] { applyFarLooks(); });
}

void CaptureTextView::applyFarLooks()
{
    m_farLooksQueued = false;
    if (!m_deferredLooks)
        return;

    // A pass still to run comes first: it moves what waits, or applies it.
    if (m_styling || m_documentChanging || m_contentDirty || m_selectionDirty || m_refreshQueued
        || m_analysedRevision != m_textRevision) {
        scheduleFarLooks(true);
        return;
    }
    QTextDocument* doc = document();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    const TextRange waiting = clampedTo(*m_deferredLooks, m_content.text.size());
    const QTextBlock firstWaiting = doc->findBlock(int(waiting.location));
    const QTextBlock last = doc->findBlock(int(waiting.end()));
    const QTextBlock first = doc->findBlockByNumber(std::max(last.blockNumber() - paragraphsPerTurn + 1,
                                                             firstWaiting.blockNumber()));
    const TextRange chunk = TextRange::fromBounds(first.position(), last.position() + last.length() - 1);
    m_deferredLooks.reset();
    // What is left ends with the paragraph before the chunk, on its line feed.
    if (first.blockNumber() > firstWaiting.blockNumber())
        m_deferredLooks = TextRange::fromBounds(waiting.location, first.position() - 1);

    // The first paragraph in view stays where it is while paragraphs above
    // it change height. Where it stood is kept exactly from one turn to the
    // next, for the scroll bar rounds it to a pixel, unless the view moved
    // meanwhile.
    QScrollBar* bar = verticalScrollBar();
    const QTextBlock anchor = cursorForPosition(QPoint(0, 0)).block();
    if (!m_farLooksAnchor || m_farLooksAnchor->block != anchor.blockNumber() || m_farLooksAnchor->scroll != bar->value())
        m_farLooksAnchor = FarLooksAnchor{anchor.blockNumber(), layout->blockBoundingRect(anchor).top() - bar->value(),
                                          bar->value()};
    {
        QScopedValueRollback styling(m_styling, true);
        LayoutBatch batch(*doc);
        QList<QTextBlock> hiddenTabs;
        applyCharacterFormats(chunk, batch);
        m_blockFormatStretch = TextRange::spanning(m_blockFormatStretch, chunk);
        applyBlockFormats(batch, hiddenTabs);
        batch.apply();
        applyHiddenTabStops(hiddenTabs);
    }
    if (const int value = qRound(layout->blockBoundingRect(anchor).top() - m_farLooksAnchor->inView);
        value != bar->value()) {
        // The scroll range follows the document's size a turn later.
        bar->setMaximum(std::max(bar->maximum(), value));
        bar->setValue(value);
    }
    m_farLooksAnchor->scroll = bar->value();
    const TextRange inView = TextRange::fromBounds(cursorForPosition(QPoint(0, 0)).position(),
                                                   cursorForPosition(viewport()->rect().bottomRight()).position());
    if (chunk.location <= inView.end() && inView.location <= chunk.end())
        viewport()->update();
    Q_EMIT contentFitRequested();
    if (m_deferredLooks)
        scheduleFarLooks(true);
}

} // namespace quillor
