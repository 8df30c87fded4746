#pragma once

#include "core/TextRange.h"
#include "editing/DropPlacement.h"
#include "editing/EditorBehavior.h"
#include "editing/GlyphPresentation.h"
#include "editing/ListMovement.h"
#include "editing/MarkdownDecorations.h"
#include "editor/EditCommands.h"
#include "editor/EditorFonts.h"
#include "editor/ImageIntake.h"
#include "editor/ImagePlace.h"
#include "editor/PresentationFormats.h"
#include "model/EditorContent.h"
#include "model/EditorSurface.h"

#include <QBasicTimer>
#include <QHash>
#include <QPointer>
#include <QSizeF>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QMenu;
class QTextBlock;
class QUndoStack;

namespace quillor {

class DocumentDecorationLayout;

class AppModel;
class ImagePreviewWindow;
class LayoutBatch;

// The capture editor: Markdown styled as it is typed, its syntax hidden away
// from the caret, quote bars, code backgrounds, bullets and task boxes drawn
// from the layout, and one undo history in which every programmatic edit is a
// step with a French name.
//
// Document positions are the model's UTF-16 offsets: the document holds
// exactly the model's text (see EditorDocument), and the styling lives in
// each paragraph layout's additional formats, so it never enters the text or
// the history. The document's own undo is off for good; the view's
// QUndoStack records typing and replaceUndoably() alike.
class CaptureTextView : public QTextEdit, public EditorSurface, private EditCommandTarget {
    Q_OBJECT

public:
    explicit CaptureTextView(QWidget* parent = nullptr);
    ~CaptureTextView() override;

    // The model this editor writes to. Takes its content (the history starts
    // empty) and installs onContentChange, which replaces the whole content.
    // The model must outlive the connection or be cleared first.
    void setModel(AppModel* model);
    AppModel* model() const;

    // Run by Escape; set by the capture view.
    std::function<void()> hideCapture;
    // Opens an external link; its owner may replace it.
    std::function<void(const QUrl&)> openLink;
    // Opens a preview of the vault notes a wiki link names; set by the
    // capture view.
    std::function<void(const QString& target)> openNotePreview;
    // Moves the capture panel from a press in a drag area; set by the panel
    // that holds this editor.
    std::function<void(const QMouseEvent& press)> movePanel;
    // Told the least height a large paste or a long content set whole will
    // take before it is laid out,
    // so that a panel which turns the scroll bar on once the text outgrows
    // it can do so first; set by that panel.
    std::function<void(qreal height)> beforeLargePaste;
    // Builds the window that shows the completion rows, on first need; the
    // editor places it, shows and hides it. Set by the capture view.
    std::function<QWidget*(CaptureTextView&)> makeSuggestionPanel;
    // Speaks a text to screen-reader users: the platform's announcer unless
    // replaced.
    std::function<void(const QString&)> announce;

    // EditorSurface.
    QString text() const override { return m_content.text; }
    TextRange selectedRange() const override { return selectionRange(); }
    void replaceUndoably(TextRange range, const EditorContent& replacement, std::optional<qsizetype> cursor,
                         const QString& actionName, const std::optional<DestinationSelection>& destination) override;

    // The whole content as the model holds it.
    const EditorContent& content() const { return m_content; }
    // The analysis of the current text, if the last pass made it.
    const MarkdownAnalysis* currentAnalysis() const
    {
        return m_analysedRevision == m_textRevision ? &m_analysis : nullptr;
    }
    // Replaces everything, outside the history: the old draft's steps would
    // otherwise be undone into the new one. The caret goes to the end.
    void setContent(const EditorContent& content);
    // Types the keys pressed and the text input methods committed while the
    // draft was being read, now that it is there, in the order they came:
    // they go where they would have gone had it been there at once.
    void replayHeldKeys();

    TextRange selectionRange() const override;
    void setSelectionRange(TextRange range);

    // The styling pass. Does nothing while it runs, and recomputes only when
    // the text, the selection, the composition, the width or the colours
    // changed since the last pass.
    void refreshPresentation();
    // How many passes did their work, for tests.
    int presentationPassCount() const { return m_passCount; }

    QUndoStack* undoStack() const { return m_undo; }
    bool isComposing() const { return m_composing; }

    const MarkdownGlyphPresentation& glyphPresentation() const { return m_glyphs; }
    const MarkdownLayoutManager& layoutManager() const { return m_layoutManager; }
    // The list block being dragged, painted as such; none ends the feedback.
    void setDraggedRange(std::optional<TextRange> range);

    // Where a list item's drawn bullet or task box stands, in document
    // coordinates; null for an ordered item.
    QRectF checkboxRect(const ListSyntax::Item& item) const;
    // The box around a range's characters, in document coordinates; null
    // for an empty range or one outside the text.
    QRectF markerRect(TextRange range) const;

    // Drawing beside the text (CaptureTextViewDrawing.cpp); rectangles are in
    // document coordinates.
    //
    // The brand corner of an empty capture without images; null otherwise.
    QRectF brandingRect() const;
    // How wide the placeholder sentence may run: up to 8 pixels before the
    // brand corner, never under 1.
    qreal placeholderWidth() const;
    // A list item's whole row: from its handle (or the text's edge) to 3
    // pixels before the right edge, over all its wrapped lines.
    QRectF listRowRect(const ListSyntax::Item& item) const;
    // The list item under the mouse, if the mouse is over the editor.
    std::optional<ListSyntax::Item> hoveredListItem() const;
    // The list item whose row holds a point of the document.
    std::optional<ListSyntax::Item> listRowAt(QPointF point) const;
    // The caret as drawn, in viewport coordinates: the body line's height
    // centred on the caret's line. Null while no caret shows.
    QRectF drawnCaretRect() const;

    // Ctrl+L and the menu's note link: "[[]]" at a caret, else the selection
    // becomes the label of a link whose note is typed right after "[[".
    void createNoteLink();
    // The "Édition" menu, shown as the editor's context menu: undo, redo,
    // cut, copy, paste, select all and the note link, with their keys.
    QMenu* editMenu(QWidget* parent);
    // Whether a menu may offer the note link now.
    bool canCreateNoteLink() const;

    // Run whenever the model's completions or their selection change, and
    // when the panel moves, fits or becomes active.
    void updateSuggestionsPanel();
    // Closes what floats beside the editor; the panel is hiding.
    void dismissAuxiliaryWindows();
    // The window comes forward with the keyboard in the editor: a dialog or
    // preview of the panel's has gone, and the window manager would give the
    // keyboard to another program.
    void takeKeyboard();
    // The suggestions window, once made.
    QWidget* suggestionsPanel() const { return m_suggestionsPanel; }
    // A row of the suggestions was clicked: it is selected, then accepted.
    void chooseCompletion(int index);

    // Images (CaptureTextViewImages.cpp). Pasted, dropped or chosen images
    // are read on a worker thread and go in, one paste after the other, where
    // the paste was made (see ImagePlace). The model knows while they are
    // read, so that a send waits for them.
    //
    // Whether the data was taken as images or a rich capture (their reading
    // may still run); false leaves it to be pasted as text.
    bool insertImages(const QMimeData& mime);
    // A drop onto the attachment strip: what a drop at the end of the text
    // does. False when nothing was taken.
    bool dropAtEnd(const QMimeData& mime);
    // Whether a drop of this data would be taken now.
    bool acceptsDrop(const QMimeData& mime) const;
    // Drags over `area`, a strip just above the text, are taken as over the
    // text's first line, where the pointer is across.
    void takeDropsAbove(QWidget& area);
    // Replaces how the images are read (tests slow it down).
    void setImageReader(ImageIntakeQueue::Reader reader);
    // Asks for image files and adds them as a paste would.
    void chooseImages();
    void previewImage(const CaptureAttachment& attachment);
    // Removes every embed of the image, as one step.
    void removeImage(const QUuid& id);
    // Whether pasted images are still being read.
    bool isReadingImages() const;
    ImagePreviewWindow* imagePreview() const;

    // Mouse (CaptureTextViewMouse.cpp); points in viewport coordinates.
    //
    // Whether a press there moves the capture panel: the margins around the
    // text, and the brand corner of an empty capture; never a list control.
    bool isCaptureDragArea(const QPointF& point) const;
    // The character whose glyph lies under the point, if any.
    std::optional<qsizetype> characterAt(const QPointF& point) const;
    Qt::CursorShape hoverCursor(const QPointF& point, Qt::KeyboardModifiers modifiers) const;

    // List editing from the keyboard. Each edit is one named undo step; those
    // returning a flag report whether they acted (false: the key's ordinary
    // effect is due).
    bool listNewline();
    bool listBackspace();
    void indentLines(bool outdent);
    bool expandEmptyTask();
    void moveListLines(bool down);
    void applyListPlan(const ListMovement::Plan& plan);
    bool typePairedDelimiter(const QString& input);

    // List editing with the mouse (CaptureTextViewListMouse.cpp).
    void toggleCheckbox(const ListSyntax::Item& item);
    void moveListItem(const ListSyntax::Item& item, qsizetype destination, int indentSteps);
    // While a list item is dragged: where the drop indicator stands, in
    // document coordinates, and the indentation the block would take there.
    std::optional<qreal> listDropY() const { return m_listDropY; }
    int listDropIndent() const { return m_listDropIndent; }

Q_SIGNALS:
    // The text changed: typing, a programmatic edit, undo or redo.
    void contentEdited();
    // The selection moved without the text changing.
    void selectionMoved();
    // The text's height may have changed: the panel fits itself to it.
    void contentFitRequested();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private Q_SLOTS:
    // Qt scrolls a caret into view only as far as its glyphs' box, on a line
    // whose height may add room above them, and leaves the document's margin
    // out: Ctrl+Home would stop short of the top. Runs after Qt's own
    // scrolling, for the caret's line.
    void keepCaretLineInView(const QRectF& requested);

private:
    // EditCommandTarget.
    void applyReplacement(TextRange range, const EditorContent& replacement) override;
    void selectRange(TextRange range) override { setSelectionRange(range); }
    void applyDestination(const DestinationSelection& selection) override;
    void finishEdit(bool destinationChanged) override;
    void sealTyping() override { m_typingSealed = true; }

    void recordTyping(int position, int removed, int added);
    // The styling of a change while the document reports it, before its
    // layout: the characters' looks and, in an edit block held past the
    // report, the paragraphs' formats.
    void styleReportedChange();
    // Opens an edit block that lasts past the change being reported, so that
    // the block formats and image sizes set while it is reported are laid out
    // with it, in one pass, rather than each at once and the change again.
    // False when the document is not laid out (its layout is held).
    bool holdEditPastReport();
    // Closes that edit block once the reported change has been laid out, or
    // at once when `anyway` (the event loop, where no change is under way).
    void releaseHeldEdit(bool anyway = false);
    void noteSelectionChange();
    void resetTypingFormat();
    void keepShapingOf(const QTextBlock& block);
    void schedulePresentation();
    void flushPresentation();
    void undoOrRedo(bool redo);

    // Key handling (CaptureTextViewKeys.cpp).
    bool completionsShown() const;
    bool consumesShortcut(const QKeyEvent& event) const;
    // The table's rows in three groups; each tells whether it took the key.
    bool handleCommandKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers);
    bool handleCompletionKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers);
    bool handleEditingKey(QKeyEvent* event, Qt::KeyboardModifiers modifiers);
    // A key press or an input method's event that waits for the draft.
    void holdInput(const QEvent& event);
    void insertParagraph();
    // List editing's shared steps (CaptureTextViewLists.cpp).
    bool canEditText() const;
    void replaceWholeText(const EditorContent& content, TextRange selection, const QString& actionName);
    // Scrolls as little as needed for the line a caret at the position stands
    // on to show whole, with the document's margin around it when there is
    // room for it: the first line then stands where a newly opened editor
    // shows it, the last one likewise.
    void scrollToPosition(qsizetype position);

    // The styling pass's steps. The first three change no document data, so
    // they may run while the document reports a change. What they change is
    // laid out when the batch is applied.
    void refreshConcealedSyntax(std::optional<TextChange> since);
    bool styleCharacters(LayoutBatch& batch);
    void applyCharacterFormats(TextRange stretch, LayoutBatch& batch);
    // What a pass changed is repainted once laid out: the rows of the
    // characters whose looks or text changed, the caret and the hover band.
    void markForRepaint(std::optional<TextRange> changed, bool everywhere, bool textChanged);
    struct RevisionEdit;
    static TextRange movedThrough(TextRange range, const RevisionEdit& edit);
    static TextRange clampedTo(TextRange range, qsizetype length);
    // Looks a selection changed over many paragraphs (select-all reveals all
    // the syntax) are applied near the view at once and elsewhere a chunk of
    // paragraphs per turn of the event loop (CaptureTextViewFarLooks.cpp).
    // Returns what is applied at once.
    std::optional<TextRange> deferFarLooks(TextRange changed);
    TextRange charactersNearView() const;
    void scheduleFarLooks(bool soon);
    void applyFarLooks();
    void repaintChangedRows();
    void applyImageSizes();
    // Gives the paragraphs holding a hidden tab to applyHiddenTabStops(),
    // which needs them laid out.
    void applyBlockFormats(LayoutBatch& batch, QList<QTextBlock>& hiddenTabs);
    bool holdsHiddenTab(TextRange paragraph) const;
    void applyHiddenTabStops(const QList<QTextBlock>& paragraphs);
    // Lays out the document held back by a large paste, at its width.
    void releaseHeldLayout();
    void updateColours();
    void updateFonts();
    QSizeF naturalImageSize(const QString& name);

    QPointF scrollOffset() const;
    // The list items whose lines stand within reach of a row of the document.
    std::span<const ListSyntax::Item> itemsNear(const DocumentDecorationLayout& layout, qreal y) const;
    bool showHandleToolTip(QHelpEvent* event);

    // Drawing (CaptureTextViewDrawing.cpp).
    void paintPlaceholder(QPainter& painter) const;
    void paintBranding(QPainter& painter, const QRectF& rect) const;
    // A list item's controls as they are drawn over its line.
    struct ListControl {
        QRectF handle;
        bool underMouse = false;
        enum class Mark { none, taskBox, checkedTaskBox, bullet } mark = Mark::none;
        QRectF markRect;
    };
    // Found before the text is drawn: drawing it lets go of the lines'
    // shaping, which finding a marker's place would then do again.
    QList<ListControl> listControls(TextRange visible, const std::optional<ListSyntax::Item>& hovered) const;
    void paintListControls(QPainter& painter, const QList<ListControl>& controls) const;
    void paintDropIndicator(QPainter& painter) const;
    QFont brandFont() const;
    bool showsCaret() const;
    // The caret shows solid again and blinks from now on; the old and the
    // new caret rectangles repaint.
    void restartCaretBlink();
    void repaintCaret();
    // The mouse moved over the viewport or left it (null).
    void setListHoverPoint(std::optional<QPointF> point);

    // Images.
    void readImages(ImageIntakeQueue::Request request, TextRange selection, bool dropped = false);
    void imagesRead();
    // The whole text was replaced: images still being read have no place.
    void loseImagePlaces();
    void applyImageIntake(const ImageIntake::Result& result);
    void insertRichCapture(const ImageIntake::Result& result, TextRange target, const QString& lead);
    void placeContent(TextRange target, const EditorContent& content, const QString& actionName);
    void placeText(TextRange target, const QString& text);
    void insertPlainText(const QString& text);
    bool dropAt(const QMimeData& mime, qsizetype index);
    QPoint dropPoint(QPoint point) const;
    // A drag over the strip above the text, taken as one over its top edge.
    bool takeDropAbove(const QWidget& area, QEvent& event);
    DropPlacement::Insertion dropInsertion(qsizetype index, bool images) const;
    void closeImagePreview();

    // Mouse.
    bool followLink(const QMouseEvent& press);
    // Whether the press moves the panel or follows a link, which it then does.
    bool takePress(QMouseEvent* event);
    // Sets the hover cursor for the mouse's place now; Ctrl went down or up.
    void updateHoverCursor(Qt::KeyboardModifiers modifiers);
    // The suggestions' spoken selection (CaptureTextViewSuggestions.cpp).
    void announceSelection();

    // A press on a list item's handle, marker or task box, followed to its
    // release (CaptureTextViewListMouse.cpp). Each takes the event when it
    // returns true.
    bool listMouseDown(const QMouseEvent& event);
    bool listMouseMove(const QPointF& position);
    bool listMouseUp();
    void followListDrag(const QPointF& position);
    void autoScrollListDrag();
    // Every way out of a list press: the cursor back, the feedback gone.
    void endListDrag();
    const ListSyntax::Item* listItemAt(const QPointF& point) const;

    QPointer<AppModel> m_model;
    QUndoStack* m_undo = nullptr;

    EditorContent m_content;        // always the document's content
    quint64 m_textRevision = 0;
    TextRange m_lastSelection;      // the selection before the edit being reported
    qsizetype m_expectedCaret = -1; // where typing left the caret
    bool m_typingSealed = true;
    bool m_applyingCommand = false;
    bool m_commandEditReporting = false;   // a command's edit being reported

    bool m_styling = false;
    // Between the document's report of a change and the end of its layout,
    // which may show or hide a scroll bar and so resize the viewport.
    bool m_documentChanging = false;
    // The text before the last keystroke, reused by the next one.
    SpareText m_spareText;
    // The paragraphs that keep their shaping between layouts (keepShapingOf),
    // the edited one first: their numbers and layouts, only compared, never
    // followed.
    QList<std::pair<int, const QTextLayout*>> m_shaped;
    bool m_refreshQueued = false;
    bool m_composing = false;
    bool m_restyleNeeded = true;
    bool m_documentFormatsPending = false;
    // The edit block held open past a reported change (holdEditPastReport),
    // and whether the document has laid the change out since.
    std::optional<QTextCursor> m_heldEdit;
    bool m_heldEditLaidOut = false;
    // The page size of a document whose layout waits for the styling pass.
    std::optional<QSizeF> m_heldPageSize;
    int m_passCount = 0;
    bool m_contentDirty = false;
    bool m_selectionDirty = false;
    TextRange m_reportedSelection;   // the selection the last report told of
    bool m_flushQueued = false;
    qreal m_lastWidth = -1;

    EditorFonts m_fonts;
    PresentationFormats::Palette m_palette;
    MarkdownLayoutManager m_layoutManager;
    MarkdownGlyphPresentation m_glyphs;
    PresentationFormats m_formats;
    PresentationFormats::Analysis m_analysis;
    quint64 m_analysedRevision = ~quint64(0);
    // Characters whose looks changed far from the view, not applied yet.
    std::optional<TextRange> m_deferredLooks;
    bool m_farLooksQueued = false;
    // The paragraph the view holds still while they are applied: its number,
    // where its top stands in the view, and the scroll that puts it there.
    struct FarLooksAnchor {
        int block = -1;
        qreal inView = 0;
        int scroll = 0;
    };
    std::optional<FarLooksAnchor> m_farLooksAnchor;
    // The edit that made a text revision: the analysis of the revision before
    // it is carried over rather than made again.
    struct RevisionEdit {
        quint64 revision = 0;
        qsizetype position = 0;
        qsizetype removed = 0;
        qsizetype added = 0;
    };
    std::optional<RevisionEdit> m_revisionEdit;
    // Where the styling passes changed looks whose block formats are still to
    // be brought up to date; everywhere when not known.
    std::optional<TextRange> m_blockFormatStretch;
    bool m_blockFormatsEverywhere = true;
    // The characters whose rows the styling passes changed and which are
    // still to be repainted, once laid out; the whole viewport when not known.
    std::optional<TextRange> m_repaintStretch;
    bool m_repaintEverything = true;
    // The hover band as last painted, in viewport coordinates; null for none;
    // and the scroll it was painted at.
    QRect m_paintedHoverBand;
    QPoint m_hoverBandScroll;
    // How far task boxes, backgrounds and the caret reach out of their line.
    static constexpr int decorationReach = 12;
    // Paragraphs on each side of the edited one that keep their shaping.
    static constexpr int maxShapedAround = 3;
    QList<TextRange> m_styledSelections;
    bool m_styledComposing = false;
    QHash<QString, QSizeF> m_naturalSizes;
    QHash<qsizetype, qreal> m_imageHeights;   // shown height of each image, by position

    // The mouse over the viewport, in viewport coordinates.
    std::optional<QPointF> m_listHoverPoint;
    // What the hovered item was last found for, and the item.
    struct HoverKey {
        QPointF point;
        QPointF scroll;
        QSize viewport;
        int passes = 0;
        quint64 revision = 0;
        QRectF lastParagraph;   // moves as the layout of the text goes on

        bool operator==(const HoverKey&) const = default;
    };
    HoverKey hoverKey() const;
    // The hovered item found before a pass still holds when the pass changed
    // nothing above this document y.
    void keepHoverAbove(qreal changedFrom);
    mutable std::optional<std::pair<HoverKey, std::optional<ListSyntax::Item>>> m_hoverMemo;
    QBasicTimer m_caretBlink;
    bool m_caretOn = true;
    QRect m_caretArea;   // what the caret last asked to repaint

    ImageIntakeQueue* m_imageIntake = nullptr;
    // One per read in the queue, in the same order.
    std::vector<ImagePlace> m_imagePlaces;
    // What was read goes in, even while a send waiting for it holds the text
    // read-only.
    bool m_placingImages = false;
    QPointer<ImagePreviewWindow> m_imagePreview;
    bool m_dismissingWindows = false;
    // A press the editor took for itself: its release and double click are
    // not the text edit's.
    bool m_pressTaken = false;
    // A press taken by the list controls, until its release or cancellation.
    // Points in document coordinates.
    struct ListPress {
        ListSyntax::Item item;
        QPointF start;
        QPointF last;             // the pointer, in viewport coordinates
        bool dragging = false;
        bool checkboxClick = false;
        qsizetype destination = 0;
        int steps = 0;
    };
    std::optional<ListPress> m_listPress;
    QPointer<QWidget> m_dropsAbove;
    // Files of the pastes and drops read since the reads last caught up that
    // were gone when their turn came.
    int m_filesGone = 0;
    // Key presses and input-method events that came before the draft was
    // read, for when it is there.
    std::vector<std::unique_ptr<QEvent>> m_heldInput;
    std::optional<qreal> m_listDropY;
    int m_listDropIndent = 0;
    QTimer m_listAutoScroll;

    QPointer<QWidget> m_suggestionsPanel;
};

} // namespace quillor
