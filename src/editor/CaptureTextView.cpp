#include "editor/CaptureTextView.h"

#include "core/L10n.h"
#include "editing/EditorLayout.h"
#include "editing/ListMarkerGeometry.h"
#include "editor/DocumentDecorationLayout.h"
#include "editor/EditorDocument.h"
#include "editor/ImageIntake.h"
#include "editor/LayoutBatch.h"
#include "model/AppModel.h"
#include "platform/FileManager.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBlockUserData>
#include <QTextImageFormat>
#include <QThread>
#include <QToolTip>
#include <QUndoStack>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quillor {

namespace {

// The text container's inset on each side, the room kept beside an image and
// the limits an image is shown within.
constexpr qreal textInset = 8;
constexpr qreal imageWidthMargin = 10;
constexpr qreal minimumImageWidth = 30;
constexpr qreal maximumImageHeight = 320;
// A content this long replacing the whole text is laid out only once styled.
constexpr qsizetype heldContentLength = 8192;

bool differs(qreal a, qreal b)
{
    return std::abs(a - b) > 0.01;
}

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

// What the last pass gave a paragraph, so that paragraphs whose inputs did
// not change are passed over: their formats are left alone, and their layout
// with them.
struct PresentedParagraph : QTextBlockUserData {
    size_t characters = 0;
    size_t paragraph = 0;
};

PresentedParagraph& presented(QTextBlock& block)
{
    auto* data = static_cast<PresentedParagraph*>(block.userData());
    if (!data) {
        data = new PresentedParagraph;
        block.setUserData(data);
    }
    return *data;
}

// Whether the paragraph's first character of a strong direction is written
// right to left: the direction the document would find for it, decided here
// once per change of the paragraph rather than by the layout, which reads it
// again for every paragraph it passes over.
bool startsRightToLeft(QStringView paragraph)
{
    for (qsizetype i = 0; i < paragraph.size(); ++i) {
        char32_t code = paragraph[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < paragraph.size() && paragraph[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(char16_t(code), paragraph[++i].unicode());
        switch (QChar::direction(code)) {
        case QChar::DirL:
            return false;
        case QChar::DirR:
        case QChar::DirAL:
            return true;
        default:
            break;
        }
    }
    return false;
}

// Every line of the paragraph gets its height, the later lines of a wrapped
// paragraph included. In 1/64 pixel, the layout's unit, so that line after
// line adds up exactly. Qt sets a fixed height's baseline at four fifths of
// the line: the text sits a little below the middle of the added room, the
// nearest a paragraph-wide line height comes to centring it.
std::pair<qreal, int> blockLineHeight(const MarkdownGlyphPresentation::ParagraphLineHeight& lineHeight)
{
    const qreal height = std::round(lineHeight.height * 64) / 64;
    const int type = !(height > 0)         ? QTextBlockFormat::SingleHeight
                     : lineHeight.minimum ? QTextBlockFormat::MinimumHeight
                                          : QTextBlockFormat::FixedHeight;
    return {type == QTextBlockFormat::SingleHeight ? 0 : height, type};
}

// The block format the styling gives a paragraph of plain text.
QTextBlockFormat plainParagraphFormat(const EditorFonts& fonts)
{
    QTextBlockFormat format;
    const auto [height, type] = blockLineHeight(
        MarkdownGlyphPresentation::paragraphLineHeight(fonts.lineSpacing(0), 0, false));
    format.setLineHeight(height, type);
    return format;
}

} // namespace

TextRange CaptureTextView::clampedTo(TextRange range, qsizetype length)
{
    const qsizetype start = std::clamp<qsizetype>(range.location, 0, length);
    return TextRange::fromBounds(start, std::clamp<qsizetype>(range.end(), start, length));
}

CaptureTextView::CaptureTextView(QWidget* parent) : QTextEdit(parent), m_fonts(QApplication::font())
{
    // The document's history would record every format the styling writes;
    // turning it off clears it, so it is turned off once, before any content.
    document()->setUndoRedoEnabled(false);
    m_undo = new QUndoStack(this);
    m_imageIntake = new ImageIntakeQueue([this](const ImageIntake::Result& result) { applyImageIntake(result); }, this);

    // A link that opens nothing says so under the text the user clicked in.
    openLink = [this](const QUrl& url) {
        FileManager::openUrl(url, [view = QPointer<CaptureTextView>(this)](const QString& message) {
            if (view && view->m_model)
                view->m_model->setError(message);
        });
    };
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(false);
    setAcceptDrops(true);
    viewport()->setMouseTracking(true);
    // The view draws its own caret, of the body's height even in a heading.
    setCursorWidth(0);
    document()->setDocumentMargin(textInset);
    // Paragraphs are left to right unless their format says otherwise: those
    // starting right to left are told so when they are styled.
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document()->setDefaultTextOption(option);
    updateFonts();
    updateColours();

    connect(document(), &QTextDocument::contentsChange, this, &CaptureTextView::recordTyping);
    connect(document(), &QTextDocument::contentsChanged, this, [this] { m_documentChanging = false; });
    // The layout reports what it repaints once it has laid a change out.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::update, this, [this] {
        if (m_heldEdit && !m_styling)
            m_heldEditLaidOut = true;
    });
    connect(this, &QTextEdit::cursorPositionChanged, this, &CaptureTextView::noteSelectionChange);
    connect(this, &QTextEdit::selectionChanged, this, &CaptureTextView::noteSelectionChange);
    connect(this, &QTextEdit::cursorPositionChanged, this, &CaptureTextView::restartCaretBlink);
    connect(this, &QTextEdit::selectionChanged, this, &CaptureTextView::restartCaretBlink);
    // Every scroll to the caret, Qt's keys, the mouse and input methods
    // included, goes through the text control's request.
    for (QObject* child : children()) {
        if (child->inherits("QWidgetTextControl"))
            connect(child, SIGNAL(visibilityRequest(QRectF)), this, SLOT(keepCaretLineInView(QRectF)));
    }
}

CaptureTextView::~CaptureTextView()
{
    // The document and the text edit outlive this part of the object: nothing
    // they report may reach it any more. The commands refer to it too.
    disconnect(document(), nullptr, this, nullptr);
    disconnect(document()->documentLayout(), nullptr, this, nullptr);
    disconnect(this, nullptr, this, nullptr);
    releaseHeldEdit(true);
    m_undo->clear();
    if (m_listPress)
        QGuiApplication::restoreOverrideCursor();
}

// MARK: Model and content

void CaptureTextView::takeKeyboard()
{
    window()->raise();
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void CaptureTextView::setModel(AppModel* model)
{
    m_model = model;
    if (!model)
        return;
    model->onContentChange = [view = QPointer<CaptureTextView>(this)](const EditorContent& content) {
        if (view)
            view->setContent(content);
    };
    setContent(model->content());
}

AppModel* CaptureTextView::model() const
{
    return m_model;
}

void CaptureTextView::setContent(const EditorContent& content)
{
    Q_ASSERT(QThread::currentThread() == thread());
    releaseHeldEdit(true);
    const EditorContent normalized = EditorDocument::normalizedLineEnds(content);
    // A dragged item's ranges belong to the old text, and so do the places
    // of images being read.
    endListDrag();
    loseImagePlaces();
    // A long text is laid out once, when styled, at the width it is shown
    // at: not a first time as it goes in, nor again once its formats or the
    // panel's scroll bar change the width (see insertPlainText).
    const bool holdLayout = normalized.text.size() >= heldContentLength && !m_heldPageSize;
    if (holdLayout) {
        if (beforeLargePaste)
            beforeLargePaste(qreal(normalized.text.count(u'\n') + 1) * fontMetrics().lineSpacing());
        m_heldPageSize = document()->pageSize();
        document()->setPageSize(QSizeF(0, 0));
    }
    {
        QScopedValueRollback applying(m_applyingCommand, true);
        // Clearing drops the image resources too; inserting registers them
        // again, maybe other bytes under a name seen before.
        document()->clear();
        m_naturalSizes.clear();
        QTextCursor cursor(document());
        // Its paragraphs are born with the plain paragraph's format, which
        // the styling then leaves to all but the others: a long text is not
        // given one format per paragraph, each laid out again.
        cursor.setBlockFormat(plainParagraphFormat(m_fonts));
        EditorDocument::insert(cursor, normalized);
        m_content = normalized;
        m_spareText.forget();
        ++m_textRevision;
        // The new content is not the old one edited: none of its steps apply.
        m_undo->clear();
        setSelectionRange(TextRange{m_content.text.size(), 0});
    }
    m_selectionDirty = false;
    m_reportedSelection = selectionRange();
    refreshPresentation();
    // Had the pass not run, the text must still be laid out.
    releaseHeldLayout();
    // The caret was put at the end before there was a layout to scroll to.
    if (holdLayout)
        ensureCursorVisible();
    // Line ends the document cannot keep apart are the model's text too.
    if (m_model && !(normalized == content))
        m_model->updateContent(m_content);
}

TextRange CaptureTextView::selectionRange() const
{
    const QTextCursor cursor = textCursor();
    return TextRange::fromBounds(cursor.selectionStart(), cursor.selectionEnd());
}

void CaptureTextView::setSelectionRange(TextRange range)
{
    const TextRange inText = clampedTo(range, m_content.text.size());
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(inText.location));
    cursor.setPosition(int(inText.end()), QTextCursor::KeepAnchor);
    {
        QScopedValueRollback applying(m_applyingCommand, true);
        setTextCursor(cursor);
    }
    m_lastSelection = inText;
    m_typingSealed = true;
    resetTypingFormat();
    m_selectionDirty = true;
    schedulePresentation();
}

// MARK: Programmatic edits and history

void CaptureTextView::replaceUndoably(TextRange range, const EditorContent& replacement,
                                      std::optional<qsizetype> cursor, const QString& actionName,
                                      const std::optional<DestinationSelection>& destination)
{
    Q_ASSERT(QThread::currentThread() == thread());
    // Edits through a QTextCursor would go through a read-only view.
    if ((isReadOnly() && !m_placingImages) || range.location < 0 || range.length < 0
        || range.end() > m_content.text.size())
        return;
    ReplaceCommand::Edit edit;
    edit.range = range;
    edit.replacement = EditorDocument::normalizedLineEnds(replacement);
    edit.old = EditorDocument::slice(m_content, range);
    edit.oldSelection = selectionRange();
    edit.cursor = cursor;
    edit.destination = destination;
    if (destination && m_model) {
        const Capture& draft = m_model->draft();
        edit.previousDestination = DestinationSelection{draft.destinationID, draft.usesExplicitDestination};
    }
    m_typingSealed = true;
    m_undo->push(new ReplaceCommand(*this, std::move(edit), actionName));
    ensureCursorVisible();
}

void CaptureTextView::applyReplacement(TextRange range, const EditorContent& replacement)
{
    releaseHeldEdit(true);
    const TextRange inText = clampedTo(range, m_content.text.size());
    QScopedValueRollback applying(m_applyingCommand, true);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(int(inText.location));
    cursor.setPosition(int(inText.end()), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    EditorDocument::insert(cursor, replacement);
    // The content is the edited text when the document reports the edit, so
    // that it is styled within the report and laid out once.
    m_content.replace(inText, replacement, &m_spareText);
    ++m_textRevision;
    if (m_blockFormatStretch)
        m_blockFormatsEverywhere = true;
    m_revisionEdit = RevisionEdit{m_textRevision, inText.location, inText.length, replacement.text.size()};
    QScopedValueRollback reporting(m_commandEditReporting, true);
    cursor.endEditBlock();
}

void CaptureTextView::applyDestination(const DestinationSelection& selection)
{
    if (m_model)
        m_model->applyDestinationSelection(selection);
}

void CaptureTextView::finishEdit(bool destinationChanged)
{
    m_contentDirty = true;
    flushPresentation();
    if (destinationChanged && m_model) {
        m_model->updateContent(m_content);
        m_model->saveDraftInBackground();
    }
    ensureCursorVisible();
}

void CaptureTextView::undoOrRedo(bool redo)
{
    // While a capture is delivered nothing may change the text, and a step
    // taken from the stack then would be lost.
    if (isReadOnly())
        return;
    if (redo)
        m_undo->redo();
    else
        m_undo->undo();
}

void CaptureTextView::recordTyping(int position, int removed, int added)
{
    m_documentChanging = true;
    keepShapingOf(document()->findBlock(position));
    if (m_styling)
        return;
    if (m_applyingCommand) {
        // A command's edit, already in the content: styled as typing is.
        if (m_commandEditReporting)
            styleReportedChange();
        return;
    }
    std::optional<TypingEdit> edit = TypingEdit::from(m_content, *document(), position, removed, added);
    if (!edit)
        return;
    const TextRange before = clampedTo(m_lastSelection, m_content.text.size());
    m_content.replace(TextRange{edit->position, edit->removed.text.size()}, edit->added, &m_spareText);
    ++m_textRevision;
    if (m_blockFormatStretch)
        m_blockFormatsEverywhere = true;
    m_revisionEdit = RevisionEdit{m_textRevision, edit->position, edit->removed.text.size(), edit->added.text.size()};
    m_expectedCaret = edit->addedEnd();
    const bool mergeable = !m_typingSealed;
    m_typingSealed = false;
    m_undo->push(new TypingCommand(*this, std::move(*edit), before, mergeable));
    m_contentDirty = true;
    styleReportedChange();
    schedulePresentation();
}

void CaptureTextView::styleReportedChange()
{
    // Styled while the document still reports the change, as a syntax
    // highlighter does, so that the edited text is laid out once, with its
    // new look: a line that becomes a list item or stops being one changes
    // its indent and height with the key, in the layout of the key, and the
    // paragraphs below it are moved once rather than twice.
    {
        QScopedValueRollback styling(m_styling, true);
        LayoutBatch batch(*document());
        if (styleCharacters(batch)) {
            if (holdEditPastReport()) {
                QList<QTextBlock> hiddenTabs;
                applyImageSizes();
                applyBlockFormats(batch, hiddenTabs);
                // Their tab stops are measured on their layout: they wait
                // for the end of the event, decided again there.
                for (QTextBlock& block : hiddenTabs) {
                    presented(block).paragraph = 0;
                    m_blockFormatStretch = TextRange::spanning(
                        m_blockFormatStretch, TextRange{block.position(), block.length() - 1});
                    m_documentFormatsPending = true;
                }
            } else {
                m_documentFormatsPending = true;
            }
        }
        batch.apply();
    }
}

bool CaptureTextView::holdEditPastReport()
{
    // Qt lays out at the end of each edit block, nested in the report or not,
    // and then the reported change from where it starts: a block format set
    // while a change is reported would lay the rest of the text out twice.
    // Its own layout is skipped while an edit block is open; the report's,
    // made after this, takes in all the changes made so far.
    if (m_heldEdit)
        return true;
    if (document()->pageSize().isNull())
        return false;
    m_heldEdit.emplace(document());
    m_heldEdit->beginEditBlock();
    m_heldEditLaidOut = false;
    return true;
}

void CaptureTextView::releaseHeldEdit(bool anyway)
{
    // Closed before the layout of the report, the block would report the
    // change once more and lay it out again.
    if (!m_heldEdit || (!m_heldEditLaidOut && !anyway))
        return;
    QTextCursor held = *std::exchange(m_heldEdit, std::nullopt);
    m_heldEditLaidOut = false;
    // Whatever changed meanwhile is reported and laid out now.
    held.endEditBlock();
}

void CaptureTextView::keepShapingOf(const QTextBlock& block)
{
    // Qt shapes a paragraph's text again after every layout of it, for the
    // caret's place and again to draw it, and shapes the paragraphs drawn
    // around it at each repaint: the paragraph being typed in and those the
    // rows repainted for it reach (its neighbours, and the next ones when
    // they are short) keep their shaping instead. Only those of the last edit
    // do; the ones before let it go at their next layout. They are found
    // again by number, as the edits since may have removed them.
    if (!block.isValid() || (!m_shaped.isEmpty() && block.layout() == m_shaped.constFirst().second))
        return;
    for (const auto& [number, layout] : std::as_const(m_shaped)) {
        if (const QTextBlock before = document()->findBlockByNumber(number);
            before.isValid() && before.layout() == layout)
            before.layout()->setCacheEnabled(false);
    }
    m_shaped.clear();
    const auto keep = [this](const QTextBlock& shaped) {
        shaped.layout()->setCacheEnabled(true);
        m_shaped.append({shaped.blockNumber(), shaped.layout()});
    };
    keep(block);
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    const QRectF rows = layout->blockBoundingRect(block).adjusted(0, -decorationReach, 0, decorationReach);
    // The document repaints from the end of the last paragraph with text
    // above the edit: past empty ones, the paragraph touching them is drawn.
    for (QTextBlock above = block.previous(); above.isValid(); above = above.previous()) {
        keep(above);
        if ((layout->blockBoundingRect(above).top() <= rows.top() && above.length() > 1)
            || m_shaped.size() > maxShapedAround)
            break;
    }
    for (QTextBlock below = block.next(); below.isValid(); below = below.next()) {
        keep(below);
        if (layout->blockBoundingRect(below).bottom() >= rows.bottom() || m_shaped.size() > 2 * maxShapedAround)
            break;
    }
}

void CaptureTextView::noteSelectionChange()
{
    // The caret moves once the edit has been laid out: a next edit, a key
    // replayed at once, is reported on its own again.
    if (!m_styling)
        releaseHeldEdit();
    if (m_applyingCommand || m_styling)
        return;
    const TextRange now = selectionRange();
    // Only the caret advance of typing itself continues a run of typing.
    if (now != TextRange{m_expectedCaret, 0})
        m_typingSealed = true;
    m_lastSelection = now;
    resetTypingFormat();
    m_selectionDirty = true;
    schedulePresentation();
}

void CaptureTextView::resetTypingFormat()
{
    // Text typed right after an image would otherwise carry the image's
    // format. Never with a selection: setting a format there would rewrite the
    // selected text's formats, and turn images into bare U+FFFC.
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection() && cursor.charFormat().hasProperty(QTextFormat::ImageName)) {
        QScopedValueRollback applying(m_applyingCommand, true);
        setCurrentCharFormat(QTextCharFormat());
    }
}

// MARK: Events

void CaptureTextView::schedulePresentation()
{
    // Handled events flush at their end (see event()); changes made outside
    // an event are picked up once the event loop runs again.
    if (m_flushQueued)
        return;
    m_flushQueued = true;
    QMetaObject::invokeMethod(this, [this] {
        m_flushQueued = false;
        releaseHeldEdit(true);
        flushPresentation();
    }, Qt::QueuedConnection);
}

void CaptureTextView::flushPresentation()
{
    if (!m_styling)
        releaseHeldEdit();
    if (m_contentDirty) {
        m_contentDirty = false;
        m_selectionDirty = false;
        refreshPresentation();
        if (m_model)
            m_model->updateContent(m_content);
        m_reportedSelection = selectionRange();
        Q_EMIT contentEdited();
    } else if (m_selectionDirty) {
        m_selectionDirty = false;
        refreshPresentation();
        // An edit that sets the selection it has just made reports once: the
        // completions of a whole vault are not computed twice for one key.
        if (const TextRange now = selectionRange(); now != m_reportedSelection) {
            m_reportedSelection = now;
            Q_EMIT selectionMoved();
        }
    }
}

bool CaptureTextView::event(QEvent* event)
{
    // The key table runs before any shortcut that would take its keys.
    if (event->type() == QEvent::ShortcutOverride && consumesShortcut(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::WindowDeactivate)
        endListDrag();
    const bool handled = QTextEdit::event(event);
    // Ctrl turns links into pointing hands under a mouse that stays still.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control) {
        const Qt::KeyboardModifiers held = static_cast<QKeyEvent*>(event)->modifiers();
        updateHoverCursor(event->type() == QEvent::KeyPress ? held | Qt::ControlModifier : held & ~Qt::ControlModifier);
    }
    // One styling pass per handled event, however many signals it caused.
    flushPresentation();
    return handled;
}

bool CaptureTextView::viewportEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ToolTip:
        return showHandleToolTip(static_cast<QHelpEvent*>(event));
    case QEvent::MouseMove:
        setListHoverPoint(static_cast<QMouseEvent*>(event)->position());
        break;
    case QEvent::Enter:
        setListHoverPoint(static_cast<QEnterEvent*>(event)->position());
        break;
    case QEvent::Leave:
        setListHoverPoint(std::nullopt);
        break;
    default:
        break;
    }
    const bool handled = QTextEdit::viewportEvent(event);
    flushPresentation();
    return handled;
}

void CaptureTextView::inputMethodEvent(QInputMethodEvent* event)
{
    // The read-only text edit would drop what an input method commits while
    // the draft is read, a dead key's accented letter among it: it waits
    // for the draft with the keys. Its composing text is shown by the input
    // method alone meanwhile.
    if (m_model && m_model->readingDraft()) {
        event->accept();
        holdInput(*event);
        return;
    }
    QTextEdit::inputMethodEvent(event);
    // The text edit rewrites the composing paragraph's formats itself.
    QTextBlock composed = textCursor().block();
    presented(composed).characters = 0;
    // The composing paragraph keeps the formats the text edit gave its
    // preedit; it is styled again once the text is committed.
    m_composing = !event->preeditString().isEmpty();
    m_selectionDirty = true;
    flushPresentation();
}

void CaptureTextView::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    restartCaretBlink();
}

void CaptureTextView::focusOutEvent(QFocusEvent* event)
{
    m_typingSealed = true;
    endListDrag();
    QTextEdit::focusOutEvent(event);
    restartCaretBlink();
}

void CaptureTextView::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    const qreal width = viewport()->width();
    if (std::abs(width - m_lastWidth) > 0.5) {
        m_lastWidth = width;
        m_restyleNeeded = true;
        refreshPresentation();
    }
    // The caret line may have moved on the screen.
    updateSuggestionsPanel();
}

void CaptureTextView::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
        updateFonts();
        refreshPresentation();
        break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
        updateColours();
        refreshPresentation();
        break;
    default:
        break;
    }
}

QMenu* CaptureTextView::editMenu(QWidget* parent)
{
    auto* menu = new QMenu(L10n::text(QStringLiteral("Édition")), parent);
    const bool editable = !isReadOnly();
    const bool selected = textCursor().hasSelection();
    // The keys are shown, not bound: the editor's own key handling runs them.
    const auto add = [&](const QString& title, QKeyCombination keys, bool enabled, auto run) {
        QAction* action = menu->addAction(title);
        action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, run);
    };
    // The document's own history is off: undo and redo are the view's.
    add(L10n::text(QStringLiteral("action.undo")), Qt::ControlModifier | Qt::Key_Z, editable && m_undo->canUndo(),
        [this] { undoOrRedo(false); });
    add(L10n::text(QStringLiteral("action.redo")), Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z,
        editable && m_undo->canRedo(), [this] { undoOrRedo(true); });
    add(L10n::text(QStringLiteral("Couper")), Qt::ControlModifier | Qt::Key_X, editable && selected, [this] { cut(); });
    add(L10n::text(QStringLiteral("Copier")), Qt::ControlModifier | Qt::Key_C, selected, [this] { copy(); });
    add(L10n::text(QStringLiteral("Coller")), Qt::ControlModifier | Qt::Key_V, editable && canPaste(),
        [this] { paste(); });
    add(L10n::text(QStringLiteral("Tout sélectionner")), Qt::ControlModifier | Qt::Key_A,
        !document()->isEmpty(), [this] { selectAll(); });
    add(L10n::text(QStringLiteral("Lien vers une note…")), Qt::ControlModifier | Qt::Key_L, canCreateNoteLink(),
        [this] { createNoteLink(); });
    return menu;
}

void CaptureTextView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = editMenu(this);
    menu->exec(event->globalPos());
    delete menu;
}

bool CaptureTextView::showHandleToolTip(QHelpEvent* event)
{
    const QPointF point = QPointF(event->pos()) + scrollOffset();
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    for (const ListSyntax::Item& item : std::as_const(m_analysis.items)) {
        if (item.marker.location >= m_content.text.size())
            continue;
        const QRectF handle = EditorLayout::listHandleRect(layout.characterBox(item.marker.location));
        if (handle.contains(point)) {
            // The keys in the desktop's own notation and language, as every other shortcut shows.
            const auto keys = [](QKeyCombination combination) {
                return QKeySequence(combination).toString(QKeySequence::NativeText);
            };
            const QString tip = L10n::format(QStringLiteral("Glisser pour déplacer · %@ / %@"),
                                             {keys(Qt::ALT | Qt::Key_Up), keys(Qt::ALT | Qt::Key_Down)});
            QToolTip::showText(event->globalPos(), tip, viewport(), handle.translated(-scrollOffset()).toAlignedRect());
            return true;
        }
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

// MARK: Styling pass

void CaptureTextView::refreshPresentation()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (m_styling)
        return;
    releaseHeldEdit();
    if (m_documentChanging) {
        // A pass now would lay the changed text out once more, before the
        // document has finished its own layout: it waits for the event loop,
        // where no change is under way.
        if (!std::exchange(m_refreshQueued, true)) {
            QMetaObject::invokeMethod(this, [this] {
                m_refreshQueued = false;
                releaseHeldEdit(true);
                m_documentChanging = false;
                refreshPresentation();
            }, Qt::QueuedConnection);
        }
        return;
    }
    QScopedValueRollback styling(m_styling, true);
    LayoutBatch batch(*document());
    QList<QTextBlock> hiddenTabs;
    if (styleCharacters(batch) || m_documentFormatsPending) {
        m_documentFormatsPending = false;
        applyImageSizes();
        applyBlockFormats(batch, hiddenTabs);
    }
    batch.apply();
    releaseHeldLayout();
    applyHiddenTabStops(hiddenTabs);
    repaintChangedRows();
    Q_EMIT contentFitRequested();
}

bool CaptureTextView::styleCharacters(LayoutBatch& batch)
{
    const QList<TextRange> selections{selectionRange()};
    const bool textChanged = m_analysedRevision != m_textRevision;
    if (!textChanged && !m_restyleNeeded && selections == m_styledSelections && m_composing == m_styledComposing)
        return false;
    ++m_passCount;
    const bool oneEditSince = textChanged && m_revisionEdit && m_revisionEdit->revision == m_textRevision
                              && m_analysedRevision + 1 == m_textRevision;
    // Looks are compared with the last pass's, which only tells what changed
    // when the text changed by one known edit, and the fonts, colours, width
    // and composition are the same.
    const bool everywhere = m_restyleNeeded || m_composing != m_styledComposing || (textChanged && !oneEditSince);
    if (textChanged) {
        m_analysis = oneEditSince ? MarkdownAnalysis::afterEdit(std::move(m_analysis), m_content.text,
                                                                m_revisionEdit->position, m_revisionEdit->removed,
                                                                m_revisionEdit->added)
                                  : MarkdownAnalysis::of(m_content.text);
        m_analysedRevision = m_textRevision;
    }
    m_styledSelections = selections;
    m_styledComposing = m_composing;
    m_restyleNeeded = false;
    std::optional<TextChange> since;
    if (!everywhere)
        since = textChanged ? TextChange{m_revisionEdit->position, m_revisionEdit->removed, m_revisionEdit->added}
                            : TextChange{};
    refreshConcealedSyntax(since);
    m_formats.update(m_content.text, m_analysis, selections, m_glyphs, m_fonts, since);
    std::optional<TextRange> changed;
    if (everywhere)
        changed = TextRange{0, m_content.text.size()};
    else if (textChanged)
        changed = m_formats.changedLooks(m_revisionEdit->position, m_revisionEdit->removed, m_revisionEdit->added);
    else
        changed = m_formats.changedLooks(0, 0, 0);
    if (everywhere)
        m_deferredLooks.reset();
    else if (textChanged && m_deferredLooks)
        m_deferredLooks = movedThrough(*m_deferredLooks, *m_revisionEdit);
    else if (!textChanged && changed)
        changed = deferFarLooks(*changed);
    if (everywhere) {
        m_blockFormatsEverywhere = true;
    } else if (changed) {
        m_blockFormatStretch = TextRange::spanning(m_blockFormatStretch, *changed);
    }
    if (changed)
        applyCharacterFormats(*changed, batch);
    // Where no look changed the text may still have: an edit inside a
    // highlight or a tag moves the background drawn behind it.
    if (!everywhere && textChanged) {
        const TextRange edited{m_revisionEdit->position, m_revisionEdit->added};
        changed = TextRange::spanning(changed, edited);
    }
    // The placeholder and the brand corner come and go with the whole text.
    const bool emptinessChanged
        = textChanged && !everywhere
          && (m_content.text.isEmpty()
              || m_content.text.size() - m_revisionEdit->added + m_revisionEdit->removed == 0);
    markForRepaint(changed, everywhere || emptinessChanged, textChanged);
    return true;
}

// The edit moved the characters of the range; those it removed stand where
// its text ends.
TextRange CaptureTextView::movedThrough(TextRange range, const RevisionEdit& edit)
{
    const TextChange change{edit.position, edit.removed, edit.added};
    return TextRange::fromBounds(change.moved(range.location), change.moved(range.end()));
}

void CaptureTextView::markForRepaint(std::optional<TextRange> changed, bool everywhere, bool textChanged)
{
    if (everywhere) {
        m_repaintEverything = true;
        return;
    }
    if (!changed)
        return;
    // The edit of this pass moved the characters marked before it.
    if (m_repaintStretch && textChanged)
        m_repaintStretch = movedThrough(*m_repaintStretch, *m_revisionEdit);
    m_repaintStretch = TextRange::spanning(m_repaintStretch, *changed);
}

void CaptureTextView::repaintChangedRows()
{
    const std::optional<TextRange> stretch = std::exchange(m_repaintStretch, std::nullopt);
    const bool everything = std::exchange(m_repaintEverything, false);
    QTextDocument* doc = document();
    std::optional<QRectF> rows;
    if (!everything && stretch) {
        const TextRange inText = clampedTo(*stretch, m_content.text.size());
        rows = doc->documentLayout()->blockBoundingRect(doc->findBlock(int(inText.location)))
               | doc->documentLayout()->blockBoundingRect(doc->findBlock(int(inText.end())));
    }
    if (!everything)
        keepHoverAbove(rows ? rows->top() - decorationReach : qInf());
    // The hover band may now stand on another row, or the row under it have
    // another height. Where it stands as painted, it is left alone: what
    // changed in its row is repainted with the row.
    const std::optional<ListSyntax::Item> hovered = hoveredListItem();
    const QRect band = hovered ? listRowRect(*hovered).translated(-scrollOffset()).toAlignedRect() : QRect();
    if (band != m_paintedHoverBand || scrollOffset().toPoint() != m_hoverBandScroll) {
        viewport()->update(m_paintedHoverBand);
        viewport()->update(band);
    }
    repaintCaret();
    if (everything) {
        viewport()->update();
        return;
    }
    if (!rows)
        return;
    // The whole width: list controls stand in the margin.
    const qreal top = rows->top() - scrollOffset().y();
    viewport()->update(QRect(0, int(std::floor(top)) - decorationReach, viewport()->width(),
                             int(std::ceil(rows->height())) + 2 * decorationReach + 1));
}

// Hidden syntax follows the caret: what is concealed is decided again
// before any format is.
void CaptureTextView::refreshConcealedSyntax(std::optional<TextChange> since)
{
    m_glyphs.update(&m_layoutManager, m_content.text, m_analysis, m_styledSelections, m_styledComposing, since);
}

void CaptureTextView::applyCharacterFormats(TextRange stretch, LayoutBatch& batch)
{
    QTextDocument* doc = document();
    const QTextBlock last = doc->findBlock(int(stretch.end()));
    const QTextBlock end = last.isValid() ? last.next() : QTextBlock();
    QTextBlock block = doc->findBlock(int(stretch.location));
    for (int position = block.position(); block.isValid() && block != end;
         position += block.length(), block = block.next()) {
        const TextRange paragraph{position, block.length() - 1};
        // A paragraph never given formats has none in its layout: while it
        // wants none, neither its layout (which the document would make
        // ahead of its own) nor a record is made for it. Most paragraphs of a
        // long text are plain.
        if (!block.userData() && m_formats.isPlain(paragraph))
            continue;
        QTextLayout* layout = block.layout();
        if (m_composing && layout->preeditAreaPosition() >= 0)
            continue;
        const size_t fingerprint = m_formats.fingerprint(m_content.text, paragraph);
        PresentedParagraph& last = presented(block);
        if (last.characters == fingerprint)
            continue;
        last.characters = fingerprint;
        const QList<QTextLayout::FormatRange> wanted = m_formats.formats(m_content.text, paragraph, m_fonts, m_palette);
        if (layout->formats() == wanted)
            continue;
        layout->setFormats(wanted);
        batch.relayout(block);
    }
}

QSizeF CaptureTextView::naturalImageSize(const QString& name)
{
    // A name stands for one set of bytes (EditorDocument), so its size holds.
    const auto known = m_naturalSizes.constFind(name);
    if (known != m_naturalSizes.cend())
        return *known;
    const QImage image = document()->resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
    const QSizeF size = image.isNull() ? QSizeF() : QSizeF(image.size());
    m_naturalSizes.insert(name, size);
    return size;
}

void CaptureTextView::applyImageSizes()
{
    m_imageHeights.clear();
    const qreal maximumWidth = std::max(viewport()->width() - 2 * textInset - imageWidthMargin, minimumImageWidth);
    // Laid out once, for all images.
    QTextCursor batch(document());
    bool batching = false;
    for (const InlineImage& image : std::as_const(m_content.images)) {
        QTextCursor cursor(document());
        cursor.setPosition(int(image.position));
        cursor.setPosition(int(image.position + 1), QTextCursor::KeepAnchor);
        const QTextImageFormat format = cursor.charFormat().toImageFormat();
        if (!format.isValid())
            continue;
        const QSizeF natural = naturalImageSize(format.name());
        if (natural.isEmpty())
            continue;
        // Never enlarged.
        qreal scale = std::min(1.0, maximumWidth / std::max(natural.width(), 1.0));
        if (natural.height() >= 1)
            scale = std::min(scale, maximumImageHeight / natural.height());
        const QSizeF wanted = natural * scale;
        m_imageHeights.insert(image.position, wanted.height());
        if (!differs(format.width(), wanted.width()) && !differs(format.height(), wanted.height()))
            continue;
        // Merged, never set: setting a plain format would drop the image.
        QTextImageFormat size;
        size.setWidth(wanted.width());
        size.setHeight(wanted.height());
        if (!std::exchange(batching, true))
            batch.beginEditBlock();
        cursor.mergeCharFormat(size);
    }
    if (batching) {
        batch.endEditBlock();
        // The rows below a resized image have moved.
        m_hoverMemo.reset();
    }
}

void CaptureTextView::applyBlockFormats(LayoutBatch& batch, QList<QTextBlock>& hiddenTabs)
{
    QTextDocument* doc = document();
    const bool everywhere = std::exchange(m_blockFormatsEverywhere, false);
    const std::optional<TextRange> stretch = std::exchange(m_blockFormatStretch, std::nullopt);
    if (!everywhere && !stretch)
        return;
    QTextBlock block = everywhere ? doc->begin() : doc->findBlock(int(stretch->location));
    QTextBlock end;
    if (!everywhere) {
        const QTextBlock last = doc->findBlock(int(stretch->end()));
        end = last.isValid() ? last.next() : QTextBlock();
    }
    auto image = std::lower_bound(m_content.images.cbegin(), m_content.images.cend(), qsizetype(block.position()),
                                  [](const InlineImage& i, qsizetype p) { return i.position < p; });
    for (qsizetype position = block.position(); block.isValid() && block != end;
         position += block.length(), block = block.next()) {
        const TextRange paragraph{position, block.length() - 1};
        qreal imageHeight = 0;
        for (; image != m_content.images.cend() && image->position < paragraph.end(); ++image)
            imageHeight = std::max(imageHeight, m_imageHeights.value(image->position));
        if (m_composing && block.layout()->preeditAreaPosition() >= 0)
            continue;
        const qreal margin = m_formats.leftMargin(position);
        const bool listLine = m_glyphs.isListFragment(position);
        // A paragraph without a record has plain looks (see
        // applyCharacterFormats): its block format is compared as it stands,
        // which costs less than a record for each line of a long text.
        if (auto* last = static_cast<PresentedParagraph*>(block.userData())) {
            const size_t fingerprint = qHashMulti(last->characters, margin, listLine, imageHeight);
            if (last->paragraph == fingerprint)
                continue;
            last->paragraph = fingerprint;
        }
        const bool hiddenTab = holdsHiddenTab(paragraph);
        if (hiddenTab)
            hiddenTabs.append(block);
        const auto lineHeight = MarkdownGlyphPresentation::paragraphLineHeight(
            m_formats.lineMetrics(paragraph, m_fonts).first, imageHeight, listLine);
        const auto [height, type] = blockLineHeight(lineHeight);
        const QTextBlockFormat current = block.blockFormat();
        const bool staleTabs = !hiddenTab && current.hasProperty(QTextFormat::TabPositions);
        const Qt::LayoutDirection direction
            = startsRightToLeft(QStringView(m_content.text).mid(paragraph.location, paragraph.length))
                  ? Qt::RightToLeft
                  : Qt::LayoutDirectionAuto;
        if (!differs(current.leftMargin(), margin) && current.lineHeightType() == type
            && current.layoutDirection() == direction
            && !differs(current.lineHeight(), height)
            && !current.hasProperty(QTextFormat::BlockTopMargin) && !current.hasProperty(QTextFormat::TextIndent)
            && !staleTabs)
            continue;
        // Properties left out rather than set to 0: the document reads them
        // for every paragraph below an edit, each time it lays one out.
        QTextBlockFormat format = current;
        if (margin != 0)
            format.setLeftMargin(margin);
        else
            format.clearProperty(QTextFormat::BlockLeftMargin);
        format.clearProperty(QTextFormat::TextIndent);
        format.clearProperty(QTextFormat::BlockTopMargin);
        format.setLineHeight(height, type);
        if (staleTabs)
            format.clearProperty(QTextFormat::TabPositions);
        if (direction == Qt::RightToLeft)
            format.setLayoutDirection(direction);
        else
            format.clearProperty(QTextFormat::LayoutDirection);
        batch.setBlockFormat(block, format);
    }
}

void CaptureTextView::releaseHeldLayout()
{
    if (!m_heldPageSize)
        return;
    QTextDocument* doc = document();
    doc->setPageSize(*std::exchange(m_heldPageSize, std::nullopt));
    // All of it at once, as after any other edit, rather than in steps on a
    // timer while the scroll bar grows.
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
}

bool CaptureTextView::holdsHiddenTab(TextRange paragraph) const
{
    const QStringView text = QStringView(m_content.text).mid(paragraph.location, paragraph.length);
    for (qsizetype tab = text.indexOf(u'\t'); tab >= 0; tab = text.indexOf(u'\t', tab + 1)) {
        if (m_formats.look(paragraph.location + tab).flags & PresentationFormats::hidden)
            return true;
    }
    return false;
}

void CaptureTextView::applyHiddenTabStops(const QList<QTextBlock>& paragraphs)
{
    // A tab advances to the next tab stop whatever its letter spacing, so a
    // hidden one gets a stop of its own right where it starts. The other tabs
    // keep the usual stops, moved back with their line.
    QTextDocument* doc = document();
    const qreal distance = doc->defaultTextOption().tabStopDistance() > 0 ? doc->defaultTextOption().tabStopDistance()
                                                                          : 80;
    LayoutBatch batch(*doc);
    for (const QTextBlock& block : paragraphs) {
        if (!block.isValid())
            continue;
        doc->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        const QStringView text = QStringView(m_content.text).mid(block.position(), block.length() - 1);
        QList<qreal> stops;
        int lineNumber = -1;
        qreal taken = 0;   // the room the tabs before on the line no longer take
        for (qsizetype tab = text.indexOf(u'\t'); tab >= 0; tab = text.indexOf(u'\t', tab + 1)) {
            const QTextLine line = layout->lineForTextPosition(int(tab));
            if (!line.isValid())
                continue;
            if (line.lineNumber() != lineNumber) {
                lineNumber = line.lineNumber();
                taken = 0;
            }
            const qreal start = line.cursorToX(int(tab)) - line.x() - taken;
            const qreal width = line.cursorToX(int(tab) + 1) - line.cursorToX(int(tab));
            // A sliver, the least room the layout gives: a stop where the tab
            // starts would be passed over for the next one.
            const bool hidden = m_formats.look(block.position() + tab).flags & PresentationFormats::hidden;
            const qreal stop = hidden ? start + 1.0 / 64 : (std::floor(start / distance) + 1) * distance;
            if (hidden)
                stops.append(stop);
            taken += width - (stop - start);
        }
        // Set stops replace the usual ones: those before the last are kept.
        const qreal last = stops.isEmpty() ? 0 : *std::max_element(stops.cbegin(), stops.cend());
        for (qreal grid = distance; grid < last; grid += distance)
            stops.append(grid);
        std::sort(stops.begin(), stops.end());
        stops.erase(std::unique(stops.begin(), stops.end()), stops.end());
        QList<QTextOption::Tab> positions;
        for (const qreal stop : std::as_const(stops))
            positions.append(QTextOption::Tab(stop, QTextOption::LeftTab));
        QTextBlockFormat format = block.blockFormat();
        if (format.tabPositions() == positions)
            continue;
        format.setTabPositions(positions);
        batch.setBlockFormat(block, format);
    }
    batch.apply();
}

void CaptureTextView::updateColours()
{
    const QPalette& colours = palette();
    const QColor purple = isDark(colours) ? QColor(0xBF, 0x5A, 0xF2) : QColor(0xAF, 0x52, 0xDE);
    QColor tagBackground = purple;
    tagBackground.setAlphaF(0.08f);
    QColor marker = colours.color(QPalette::Text);
    marker.setAlphaF(0.5f);
    m_palette = PresentationFormats::Palette{purple, tagBackground, marker, colours.color(QPalette::Link)};
    m_formats.clearFormatCache();
    m_restyleNeeded = true;
}

void CaptureTextView::updateFonts()
{
    m_fonts = EditorFonts(font());
    // Sizes in pixels: the list geometry clamps font sizes as the design
    // measured them, on a screen where a point is a pixel.
    document()->setDefaultFont(m_fonts.body());
    m_formats.clearFormatCache();
    m_restyleNeeded = true;
}

// MARK: Drawing

QPointF CaptureTextView::scrollOffset() const
{
    return QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CaptureTextView::keepCaretLineInView(const QRectF& requested)
{
    // A pointer held past the edge while selecting asks for its own place.
    const QRectF caret = QRectF(cursorRect()).translated(scrollOffset());
    if (requested.bottom() >= caret.top() && requested.top() <= caret.bottom())
        scrollToPosition(textCursor().position());
}

void CaptureTextView::scrollToPosition(qsizetype position)
{
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    const QRectF line = layout.caretLineRoom(std::clamp<qsizetype>(position, 0, document()->characterCount() - 1));
    const int height = viewport()->height();
    if (line.isNull() || line.height() > height)
        return;
    const qreal margin = document()->documentMargin();
    const QRectF withMargin = line.adjusted(0, -margin, 0, margin);
    const QRectF shown = withMargin.height() > height ? line : withMargin;
    QScrollBar* bar = verticalScrollBar();
    if (shown.top() < bar->value())
        bar->setValue(int(std::floor(shown.top())));
    else if (shown.bottom() > bar->value() + height)
        bar->setValue(int(std::ceil(shown.bottom())) - height);
}

void CaptureTextView::setDraggedRange(std::optional<TextRange> range)
{
    m_layoutManager.setDraggedRange(range);
    viewport()->update();
}

QRectF CaptureTextView::checkboxRect(const ListSyntax::Item& item) const
{
    if (item.number || item.marker.location >= m_content.text.size())
        return {};
    const DocumentDecorationLayout layout(*document(), m_content.text.size(), m_glyphs);
    return ListMarkerGeometry::markerRect(layout.characterBox(item.marker.location), m_formats.columnWidth(),
                                          m_fonts.bodySize(), !item.checkbox);
}

} // namespace quillor
