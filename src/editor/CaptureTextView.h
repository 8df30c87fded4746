#pragma once

#include "core/TextRange.h"
#include "editing/EditorBehavior.h"
#include "editing/GlyphPresentation.h"
#include "editing/ListMovement.h"
#include "editing/MarkdownDecorations.h"
#include "editor/EditCommands.h"
#include "editor/EditorFonts.h"
#include "editor/PresentationFormats.h"
#include "model/EditorContent.h"
#include "model/EditorSurface.h"

#include <QHash>
#include <QPointer>
#include <QSizeF>
#include <QTextEdit>
#include <QUrl>

#include <functional>
#include <optional>

class QTextBlock;
class QUndoStack;

namespace quillor {

class AppModel;
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

    // EditorSurface.
    QString text() const override { return m_content.text; }
    TextRange selectedRange() const override { return selectionRange(); }
    void replaceUndoably(TextRange range, const EditorContent& replacement, std::optional<qsizetype> cursor,
                         const QString& actionName, const std::optional<DestinationSelection>& destination) override;

    // The whole content as the model holds it.
    const EditorContent& content() const { return m_content; }
    // Replaces everything, outside the history: the old draft's steps would
    // otherwise be undone into the new one. The caret goes to the end.
    void setContent(const EditorContent& content);

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

    // Ctrl+L and the menu's note link: "[[]]" at a caret, else the selection
    // becomes the label of a link whose note is typed right after "[[".
    void createNoteLink();
    // Whether a menu may offer the note link now.
    bool canCreateNoteLink() const;

    // Run whenever the model's completions or their selection change, and
    // when the panel moves, fits or becomes active.
    void updateSuggestionsPanel();
    // Closes what floats beside the editor; the panel is hiding.
    void dismissAuxiliaryWindows();

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
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // EditCommandTarget.
    void applyReplacement(TextRange range, const EditorContent& replacement) override;
    void selectRange(TextRange range) override { setSelectionRange(range); }
    void applyDestination(const DestinationSelection& selection) override;
    void finishEdit(bool destinationChanged) override;
    void sealTyping() override { m_typingSealed = true; }

    void recordTyping(int position, int removed, int added);
    void noteSelectionChange();
    void resetTypingFormat();
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
    void insertParagraph(QKeyEvent* event);
    // List editing's shared steps (CaptureTextViewLists.cpp).
    bool canEditText() const;
    void replaceWholeText(const EditorContent& content, TextRange selection, const QString& actionName);
    void scrollToPosition(qsizetype position);

    // The styling pass's steps. The first two change no document data, so
    // they may run while the document reports a change. What they change is
    // laid out when the batch is applied.
    bool styleCharacters(LayoutBatch& batch);
    void applyCharacterFormats(TextRange stretch, LayoutBatch& batch);
    void applyImageSizes();
    // Gives the paragraphs holding a hidden tab to applyHiddenTabStops(),
    // which needs them laid out.
    void applyBlockFormats(LayoutBatch& batch, QList<QTextBlock>& hiddenTabs);
    bool holdsHiddenTab(TextRange paragraph) const;
    void applyHiddenTabStops(const QList<QTextBlock>& paragraphs);
    void updateColours();
    void updateFonts();
    QSizeF naturalImageSize(const QString& name);

    QPointF scrollOffset() const;
    bool showHandleToolTip(QHelpEvent* event);

    QPointer<AppModel> m_model;
    QUndoStack* m_undo = nullptr;

    EditorContent m_content;        // always the document's content
    quint64 m_textRevision = 0;
    TextRange m_lastSelection;      // the selection before the edit being reported
    qsizetype m_expectedCaret = -1; // where typing left the caret
    bool m_typingSealed = true;
    bool m_applyingCommand = false;

    bool m_styling = false;
    // Between the document's report of a change and the end of its layout,
    // which may show or hide a scroll bar and so resize the viewport.
    bool m_documentChanging = false;
    bool m_refreshQueued = false;
    bool m_composing = false;
    bool m_restyleNeeded = true;
    bool m_documentFormatsPending = false;
    int m_passCount = 0;
    bool m_contentDirty = false;
    bool m_selectionDirty = false;
    bool m_flushQueued = false;
    qreal m_lastWidth = -1;

    EditorFonts m_fonts;
    PresentationFormats::Palette m_palette;
    MarkdownLayoutManager m_layoutManager;
    MarkdownGlyphPresentation m_glyphs;
    PresentationFormats m_formats;
    PresentationFormats::Analysis m_analysis;
    quint64 m_analysedRevision = ~quint64(0);
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
    QList<TextRange> m_styledSelections;
    bool m_styledComposing = false;
    QHash<QString, QSizeF> m_naturalSizes;
    QHash<qsizetype, qreal> m_imageHeights;   // shown height of each image, by position
};

} // namespace quillor
