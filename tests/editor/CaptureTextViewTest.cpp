#include "editor/CaptureTextView.h"

#include "editing/EditorLayout.h"
#include "editing/ListMarkerGeometry.h"
#include "editing/ListSyntax.h"
#include "editor/DocumentDecorationLayout.h"
#include "editor/EditorDocument.h"
#include "editor/EditorFonts.h"
#include "model/AppModel.h"
#include "model/VaultAccess.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QClipboard>
#include <QFontDatabase>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextImageFormat>
#include <QUndoStack>

#include <gtest/gtest.h>

#include <functional>

using namespace quillor;

namespace {

// A shown editor 480 wide, without scroll bars, so that its viewport is its
// whole width.
struct Editor {
    CaptureTextView view;

    explicit Editor(int width = 480)
    {
        view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view.resize(width, 400);
        view.show();
        view.setFocus();
    }

    // Types as the keyboard would: Return for "\n", the text of a key for
    // anything beyond ASCII (keyClicks cannot type those).
    void type(const QString& text)
    {
        for (const QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(&view, Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, &view, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    // Types the text as it stands, out of reach of the editing rules (pairs,
    // list and quote continuation): each character committed by an input
    // method, Shift+Return for "\n".
    void typePlain(const QString& text)
    {
        for (const QChar c : text) {
            if (c == u'\n') {
                QTest::keyClick(&view, Qt::Key_Return, Qt::ShiftModifier);
                continue;
            }
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(&view, &commit);
        }
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { QTest::keyClick(&view, key, modifiers); }
    void undo() { key(Qt::Key_Z, Qt::ControlModifier); }
    void redo() { key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }

    QString text() const { return EditorDocument::engineText(*view.document()); }
    TextRange selection() const { return view.selectionRange(); }
    QUndoStack& history() const { return *view.undoStack(); }

    // The additional formats covering a position, merged in order.
    QTextCharFormat formatAt(qsizetype position) const
    {
        const QTextBlock block = view.document()->findBlock(int(position));
        QTextCharFormat merged;
        for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
            const qsizetype inBlock = position - block.position();
            if (inBlock >= range.start && inBlock < range.start + range.length)
                merged.merge(range.format);
        }
        return merged;
    }
    // The x of the caret position on its laid-out line.
    qreal caretX(qsizetype position) const
    {
        const QTextBlock block = view.document()->findBlock(int(position));
        view.document()->documentLayout()->blockBoundingRect(block);
        const int inBlock = int(position - block.position());
        return block.layout()->lineForTextPosition(inBlock).cursorToX(inBlock);
    }
    qreal bodySize() const { return EditorFonts(view.font()).bodySize(); }
};

QByteArray pngOf(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

InlineImage imageOf(int width, int height, const QString& name)
{
    InlineImage image;
    image.fileName = name;
    image.contents = pngOf(width, height);
    image.displaySize = QSizeF(width, height);
    return image;
}

} // namespace

TEST(CaptureTextViewTest, TypedMarkdownGetsItsFontsAndColoursWithoutTouchingTheText)
{
    Editor editor;
    editor.typePlain(QStringLiteral("# Titre\n**gras** *il* ~~non~~ #étiquette `code`\nfin"));
    ASSERT_EQ(editor.text(), QStringLiteral("# Titre\n**gras** *il* ~~non~~ #étiquette `code`\nfin"));
    const qreal body = editor.bodySize();

    struct Case {
        const char* what;
        qsizetype position;
        std::function<bool(const QTextCharFormat&)> holds;
    };
    const Case cases[] = {
        {"heading: bold at 28/17 of the body", 3,
         [&](const QTextCharFormat& f) {
             // Exactly, not rounded to a whole pixel.
             const qreal bodyPoints = QFontInfo(EditorFonts(editor.view.font()).body()).pointSizeF();
             return std::abs(f.font().pointSizeF() - bodyPoints * 28 / 17) < 1e-6 && f.fontWeight() == QFont::Bold;
         }},
        {"bold: heavy at body size", 11,
         [&](const QTextCharFormat& f) {
             return f.fontWeight() == QFont::ExtraBold && f.font().pixelSize() == qRound(body);
         }},
        {"italic", 19, [](const QTextCharFormat& f) { return f.fontItalic() && f.fontWeight() != QFont::ExtraBold; }},
        {"strike-through", 25, [](const QTextCharFormat& f) { return f.fontStrikeOut(); }},
        {"tag: purple on faint purple", 31,
         [](const QTextCharFormat& f) {
             return f.foreground().color().rgb() == QColor(0xAF, 0x52, 0xDE).rgb()
                    && std::abs(f.background().color().alphaF() - 0.08) < 0.001;
         }},
        {"code: the system's fixed-pitch font", 42,
         [](const QTextCharFormat& f) {
             return QFontInfo(f.font()).family()
                    == QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
         }},
        {"plain text: no format of its own", 50, [](const QTextCharFormat& f) { return f.properties().isEmpty(); }},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(c.holds(editor.formatAt(c.position))) << c.what;
    // None of it is in the document: every character keeps the default format.
    for (QTextBlock block = editor.view.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::FontWeight));
    }
}

TEST(CaptureTextViewTest, ConcealedSyntaxTakesNoRoomUntilTheCaretReachesIt)
{
    struct Case {
        QString text;
        TextRange hidden;   // characters hidden with the caret at the end
        qsizetype inside;   // a caret position that shows them
    };
    const Case cases[] = {
        {QStringLiteral("a **b** c"), {2, 2}, 4},
        {QStringLiteral("# Titre"), {0, 2}, 1},
        {QStringLiteral("voir [texte](https://exemple.org) !"), {12, 21}, 14},
        {QStringLiteral("l’`é`"), {2, 1}, 3},
    };
    for (const Case& c : cases) {
        Editor editor;
        editor.type(c.text);
        editor.type(QStringLiteral("\nx"));
        const qreal start = editor.caretX(c.hidden.location);
        EXPECT_LT(std::abs(editor.caretX(c.hidden.end()) - start), 0.5) << c.text.toStdString();
        EXPECT_EQ(editor.formatAt(c.hidden.location).foreground().color().alpha(), 0) << c.text.toStdString();

        editor.view.setSelectionRange(TextRange{c.inside, 0});
        QCoreApplication::processEvents();
        EXPECT_GT(editor.caretX(c.hidden.end()) - editor.caretX(c.hidden.location), 2) << c.text.toStdString();
    }
}

TEST(CaptureTextViewTest, ListAndQuoteLinesAreLaidOutForTheirMarkers)
{
    Editor editor;
    editor.typePlain(QStringLiteral("- un\n10. dix\n> un\n> > deux\nfin"));
    const QList<ListSyntax::Item> items = ListSyntax::items(editor.text());
    ASSERT_EQ(items.size(), 2);
    const QRectF bullet = editor.view.checkboxRect(items[0]);
    // The text of both items starts at the same column, past the drawn marker.
    const qreal first = editor.caretX(items[0].contentStart) - editor.caretX(items[0].marker.location);
    const qreal second = editor.caretX(items[1].contentStart) - editor.caretX(items[1].marker.location);
    EXPECT_NEAR(first, second, 0.5);
    EXPECT_GE(first, ListMarkerGeometry::side(editor.bodySize()) + ListMarkerGeometry::itemGap - 0.5);
    EXPECT_FALSE(bullet.isNull());
    EXPECT_EQ(editor.formatAt(items[0].marker.location).foreground().color().alpha(), 0);
    EXPECT_GT(editor.formatAt(items[1].marker.location).foreground().color().alpha(), 0);
    // List lines are indented for the handle and taller.
    const QTextBlock block = editor.view.document()->firstBlock();
    EXPECT_NEAR(block.blockFormat().leftMargin(), EditorLayout::listLeadingIndent, 0.01);
    const DocumentDecorationLayout layout(*editor.view.document(), editor.text().size(),
                                          editor.view.glyphPresentation());
    const QList<LineFragment> lines = layout.lineFragments(TextRange{0, 1});
    ASSERT_EQ(lines.size(), 1);
    const qreal lineSpacing = QFontMetricsF(EditorFonts(editor.view.font()).body()).lineSpacing();
    EXPECT_NEAR(lines[0].rect.height(), MarkdownGlyphPresentation::targetHeight(lineSpacing, true), 1.0);

    // Quote lines are indented by level, unless the caret is on them.
    const QTextDocument& document = *editor.view.document();
    EXPECT_NEAR(document.findBlockByNumber(2).blockFormat().leftMargin(), 10, 0.01);
    EXPECT_NEAR(document.findBlockByNumber(3).blockFormat().leftMargin(), 20, 0.01);
    editor.view.setSelectionRange(TextRange{document.findBlockByNumber(3).position() + 2, 0});
    QCoreApplication::processEvents();
    EXPECT_NEAR(document.findBlockByNumber(3).blockFormat().leftMargin(), 0, 0.01);
    // Those block formats never reach either history.
    EXPECT_EQ(editor.history().count(), 1);
    EXPECT_EQ(document.availableUndoSteps(), 0);
}

TEST(CaptureTextViewTest, DecorationsAndListControlsAreDrawnWhereTheirTextIs)
{
    Editor editor;
    editor.view.setContent(EditorContent::plain(QStringLiteral("- [x] fait\n> citation\nun `code` ici\nfin")));
    const QString text = editor.text();
    const auto caretRect = [&](qsizetype position) {
        QTextCursor cursor(editor.view.document());
        cursor.setPosition(int(position));
        return QRectF(editor.view.cursorRect(cursor));
    };
    const ListSyntax::Item task = ListSyntax::items(text).first();
    const QRectF box = editor.view.checkboxRect(task);
    EXPECT_GE(box.left(), caretRect(task.marker.location).left() - 0.5);
    EXPECT_LE(box.right(), caretRect(task.contentStart).left());
    EXPECT_NEAR(box.center().y(), caretRect(task.marker.location).center().y(), 2);

    const DocumentDecorationLayout layout(*editor.view.document(), text.size(), editor.view.glyphPresentation());
    const auto decorations = editor.view.layoutManager().decorations(TextRange{0, text.size()}, layout);
    const auto find = [&](MarkdownLayoutManager::DecorationKind kind) {
        const auto found = std::find_if(decorations.cbegin(), decorations.cend(),
                                        [&](const auto& decoration) { return decoration.kind == kind; });
        return found == decorations.cend() ? QRectF() : found->rect;
    };
    const QRectF code = find(MarkdownLayoutManager::DecorationKind::code);
    EXPECT_TRUE(code.contains(caretRect(text.indexOf(QStringLiteral("code")) + 1).center())) << "the code background covers its text";
    const QRectF bar = find(MarkdownLayoutManager::DecorationKind::quote);
    EXPECT_LT(bar.right(), caretRect(text.indexOf(u'c')).left()) << "the bar stands left of the quoted text";
    EXPECT_TRUE(bar.contains(QPointF(bar.center().x(), caretRect(text.indexOf(u'c')).center().y())));

    // Painted: the checked box in the accent colour, the bar over the background.
    const QImage shown = editor.view.viewport()->grab().toImage();
    const QPointF inBox = box.topLeft() + QPointF(box.width() * 0.3, box.height() * 0.3);
    EXPECT_EQ(shown.pixelColor(inBox.toPoint()).rgb(), editor.view.palette().color(QPalette::Highlight).rgb());
    EXPECT_NE(shown.pixelColor(bar.center().toPoint()).rgb(), editor.view.palette().color(QPalette::Base).rgb());
}

TEST(CaptureTextViewTest, TypingIsOneStepPerRunUndoneAndRedoneWithTheCaret)
{
    Editor editor;
    editor.type(QStringLiteral("# Titre"));
    ASSERT_EQ(editor.history().count(), 1);
    EXPECT_EQ(editor.history().undoText(), QStringLiteral("Saisir"));
    editor.undo();
    EXPECT_EQ(editor.text(), QString());
    EXPECT_EQ(editor.selection(), (TextRange{0, 0}));
    editor.redo();
    EXPECT_EQ(editor.text(), QStringLiteral("# Titre"));
    EXPECT_EQ(editor.selection(), (TextRange{7, 0}));

    // Deleting is a step of its own; a caret move ends a run.
    editor.key(Qt::Key_Backspace);
    editor.key(Qt::Key_Backspace);
    EXPECT_EQ(editor.history().undoText(), QStringLiteral("Supprimer"));
    editor.key(Qt::Key_Left);
    editor.type(QStringLiteral("é"));
    editor.key(Qt::Key_End);
    editor.type(QStringLiteral("s"));
    EXPECT_EQ(editor.text(), QStringLiteral("# Tiéts"));
    EXPECT_EQ(editor.history().count(), 4);
    editor.undo();
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("# Tit"));
    EXPECT_EQ(editor.selection(), (TextRange{4, 0}));
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("# Titre"));
    EXPECT_EQ(editor.selection(), (TextRange{7, 0}));

    // Typing over a selection brings it back on undo.
    editor.key(Qt::Key_A, Qt::ControlModifier);
    editor.type(QStringLiteral("x"));
    EXPECT_EQ(editor.text(), QStringLiteral("x"));
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("# Titre"));
    EXPECT_EQ(editor.selection(), (TextRange{0, 7}));
}

TEST(CaptureTextViewTest, ReplaceUndoablyIsOneNamedStepWithItsCaretAndSelection)
{
    Editor editor;
    editor.type(QStringLiteral("abc"));
    editor.view.setSelectionRange(TextRange{0, 3});
    editor.view.replaceUndoably(TextRange{0, 3}, EditorContent::plain(QStringLiteral("(abc)")), 1,
                                QStringLiteral("Saisir"), std::nullopt);
    editor.view.setSelectionRange(TextRange{1, 3});
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("abc"));
    EXPECT_EQ(editor.selection(), (TextRange{0, 3}));
    EXPECT_EQ(editor.history().redoText(), QStringLiteral("Saisir"));
    editor.redo();
    EXPECT_EQ(editor.text(), QStringLiteral("(abc)"));
    EXPECT_EQ(editor.selection(), (TextRange{1, 3}));

    // Without a cursor the caret follows the inserted text; the step never
    // merges with the typing around it.
    editor.view.replaceUndoably(TextRange{1, 3}, EditorContent::plain(QStringLiteral("X\r\nY")), std::nullopt,
                                QStringLiteral("Créer une tâche"), std::nullopt);
    EXPECT_EQ(editor.text(), QStringLiteral("(X\nY)"));
    EXPECT_EQ(editor.selection(), (TextRange{4, 0}));
    editor.type(QStringLiteral("z"));
    EXPECT_EQ(editor.history().count(), 4);
    editor.undo();
    EXPECT_EQ(editor.history().undoText(), QStringLiteral("Créer une tâche"));

    // Refused: past the end, or while the view may not change.
    const int steps = editor.history().count();
    editor.view.replaceUndoably(TextRange{4, 2}, EditorContent::plain(QStringLiteral("!")), std::nullopt,
                                QStringLiteral("Saisir"), std::nullopt);
    editor.view.setReadOnly(true);
    editor.view.replaceUndoably(TextRange{0, 0}, EditorContent::plain(QStringLiteral("x")), std::nullopt,
                                QStringLiteral("Saisir"), std::nullopt);
    editor.undo();
    EXPECT_EQ(editor.text(), QStringLiteral("(X\nY)"));
    EXPECT_EQ(editor.history().count(), steps);
}

TEST(CaptureTextViewTest, NothingIsHiddenWhileAnInputMethodComposes)
{
    Editor editor;
    editor.typePlain(QStringLiteral("a **b** c"));
    ASSERT_FALSE(editor.view.glyphPresentation().hiddenCharacters().isEmpty());
    QInputMethodEvent composing(QStringLiteral("e"), {});
    QCoreApplication::sendEvent(&editor.view, &composing);
    EXPECT_TRUE(editor.view.isComposing());
    EXPECT_TRUE(editor.view.glyphPresentation().hiddenCharacters().isEmpty());
    EXPECT_EQ(editor.text(), QStringLiteral("a **b** c"));

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("é"));
    QCoreApplication::sendEvent(&editor.view, &commit);
    EXPECT_FALSE(editor.view.isComposing());
    EXPECT_EQ(editor.view.content().text, QStringLiteral("a **b** cé"));
    EXPECT_FALSE(editor.view.glyphPresentation().hiddenCharacters().isEmpty());
    EXPECT_LT(std::abs(editor.caretX(4) - editor.caretX(2)), 0.5);
}

TEST(CaptureTextViewTest, ImagesAreShownWithinTheWidthAndComeBackAsTheyWent)
{
    // A viewport of 450: images at most 424 wide and 320 high, never enlarged.
    Editor editor(450);
    EditorContent content = EditorContent::plain(QStringLiteral("a"));
    content.append(imageOf(2000, 100, QStringLiteral("A.png")));
    content.append(QStringLiteral("\n"));
    content.append(imageOf(100, 1000, QStringLiteral("B.png")));
    content.append(imageOf(50, 50, QStringLiteral("A.png")));   // same name, other bytes
    editor.view.setContent(content);
    EXPECT_EQ(editor.view.content(), content);
    EXPECT_EQ(EditorDocument::extract(*editor.view.document(), TextRange{0, content.text.size()}), content);
    // Text typed right after an image is text.
    editor.type(QStringLiteral("z"));
    content.append(QStringLiteral("z"));
    EXPECT_EQ(EditorDocument::extract(*editor.view.document(), TextRange{0, content.text.size()}), content);
    EXPECT_EQ(editor.view.content(), content);

    const QSizeF expected[] = {{424, 21.2}, {32, 320}, {50, 50}};
    for (int i = 0; i < 3; ++i) {
        QTextCursor cursor(editor.view.document());
        cursor.setPosition(int(content.images[i].position + 1));
        const QTextImageFormat format = cursor.charFormat().toImageFormat();
        ASSERT_TRUE(format.isValid()) << i;
        EXPECT_NEAR(format.width(), expected[i].width(), 0.01) << i;
        EXPECT_NEAR(format.height(), expected[i].height(), 0.01) << i;
    }
    const int passes = editor.view.presentationPassCount();
    editor.view.refreshPresentation();
    EXPECT_EQ(editor.view.presentationPassCount(), passes);
    editor.view.resize(451, 400);
    EXPECT_EQ(editor.view.presentationPassCount(), passes + 1);
}

// An editor that tells a model of a temporary data folder about its edits.
struct ModelEditor : Editor {
    QTemporaryDir data;
    VaultAccess access{false};
    AppModel model{data.path(), access};

    ModelEditor() { view.setModel(&model); }
    ~ModelEditor() { view.setModel(nullptr); }
};

TEST(CaptureTextViewTest, TheModelFollowsEveryEditAndAReplacedContentStartsANewHistory)
{
    ModelEditor editor;
    AppModel& model = editor.model;
    editor.type(QStringLiteral("Idée"));
    EXPECT_EQ(model.content().text, QStringLiteral("Idée"));
    editor.undo();
    EXPECT_EQ(model.content().text, QString());
    editor.redo();

    // A new draft replaces the text: undoing must not bring the old one back.
    model.archiveAndClearDraft();
    EXPECT_EQ(editor.text(), QString());
    EXPECT_EQ(editor.history().count(), 0);
    editor.undo();
    EXPECT_EQ(editor.text(), QString());
    EXPECT_EQ(model.content().text, QString());

    // Line ends the document cannot tell apart reach the model as it shows them.
    editor.view.setContent(EditorContent::plain(QStringLiteral("a\r\nb")));
    EXPECT_EQ(model.content().text, QStringLiteral("a\nb"));
    EXPECT_EQ(editor.selection(), (TextRange{3, 0}));
}

TEST(CaptureTextViewTest, DocumentAndModelStayIdenticalThroughRandomEditsUndoAndRedo)
{
    ModelEditor editor;
    const QStringList pieces{"a", "é", "\n", "*", "> ", "- [ ] ", "\u00a0", "`", "#t", "😀"};
    QRandomGenerator random(20240611);
    const auto anywhere = [&] { return qsizetype(random.bounded(int(editor.text().size()) + 1)); };
    const auto somePiece = [&] { return pieces[random.bounded(int(pieces.size()))]; };
    for (int step = 0; step < 400; ++step) {
        const int action = random.bounded(8);
        const qsizetype a = anywhere(), b = anywhere();
        const TextRange range = TextRange::fromBounds(std::min(a, b), std::max(a, b));
        if (action < 2) {
            editor.type(somePiece());
        } else if (action == 2) {
            editor.key(random.bounded(2) ? Qt::Key_Backspace : Qt::Key_Delete);
        } else if (action == 3) {
            editor.view.setSelectionRange(range);
        } else if (action == 4) {
            EditorContent replacement = EditorContent::plain(somePiece());
            if (random.bounded(4) == 0)
                replacement.append(imageOf(8, 8, QStringLiteral("i.png")));
            editor.view.replaceUndoably(range, replacement, std::nullopt, QStringLiteral("Saisir"), std::nullopt);
        } else if (action < 7) {
            editor.undo();
        } else {
            editor.redo();
        }
        ASSERT_EQ(editor.view.text(), editor.text()) << "step " << step;
        ASSERT_EQ(editor.model.content(), editor.view.content()) << "step " << step;
        ASSERT_EQ(EditorDocument::extract(*editor.view.document(), TextRange{0, editor.text().size()}),
                  editor.view.content())
            << "step " << step;
        ASSERT_EQ(editor.view.document()->availableUndoSteps(), 0);
    }
}

namespace {

void settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// What the display shows of each paragraph: its additional formats and the
// block format the styling sets.
void expectSameLook(CaptureTextView& restyled, CaptureTextView& fresh, const std::string& step)
{
    ASSERT_EQ(restyled.document()->blockCount(), fresh.document()->blockCount()) << step;
    QTextBlock a = restyled.document()->begin();
    QTextBlock b = fresh.document()->begin();
    for (; a.isValid() && b.isValid(); a = a.next(), b = b.next()) {
        const std::string where = step + ", paragraph " + std::to_string(a.blockNumber()) + " \""
                                  + a.text().toStdString() + "\"";
        EXPECT_TRUE(a.layout()->formats() == b.layout()->formats()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().leftMargin(), b.blockFormat().leftMargin()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().topMargin(), b.blockFormat().topMargin()) << where;
        EXPECT_DOUBLE_EQ(a.blockFormat().lineHeight(), b.blockFormat().lineHeight()) << where;
        EXPECT_EQ(a.blockFormat().lineHeightType(), b.blockFormat().lineHeightType()) << where;
        EXPECT_TRUE(a.blockFormat().tabPositions() == b.blockFormat().tabPositions()) << where;
        EXPECT_EQ(a.textDirection(), b.textDirection()) << where;
        // And as the rule says, read from the paragraph itself: its tallest
        // font decides the height of each of its lines.
        qreal lineSpacing = QFontMetricsF(EditorFonts(restyled.font()).body()).lineSpacing();
        for (const QTextLayout::FormatRange& range : a.layout()->formats()) {
            const QTextCharFormat& format = range.format;
            if (format.hasProperty(QTextFormat::FontPixelSize) || format.hasProperty(QTextFormat::FontPointSize)
                || format.hasProperty(QTextFormat::FontFamilies))
                lineSpacing = std::max(lineSpacing, QFontMetricsF(format.font()).lineSpacing());
        }
        const bool listLine = restyled.glyphPresentation().isListFragment(a.position());
        EXPECT_EQ(a.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight) << where;
        const qreal target = MarkdownGlyphPresentation::targetHeight(lineSpacing, listLine);
        EXPECT_NEAR(a.blockFormat().lineHeight(), target, 1.0 / 64) << where;
    }
}

// An editor given the restyled one's text and selection from scratch looks
// the same; false once a difference is reported.
bool looksLikeAFreshEditor(CaptureTextView& restyled, int step)
{
    Editor fresh;
    fresh.view.setContent(restyled.content());
    fresh.view.setSelectionRange(restyled.selectionRange());
    settle();
    expectSameLook(restyled, fresh.view, "step " + std::to_string(step));
    return !testing::Test::HasFailure();
}

// Each paragraph runs in the direction of its first letter of a strong
// direction, left to right without one, and turns as that letter changes.
TEST(CaptureTextViewTest, EachParagraphRunsInTheDirectionOfItsFirstStrongLetter)
{
    Editor editor;
    editor.view.setContent(EditorContent::plain(
        QStringLiteral("- שלום le monde\nbonjour עולם\n12 مرحبا\n🙂 שלום\n\n")));
    settle();
    const auto directions = [&editor] {
        QList<Qt::LayoutDirection> found;
        for (QTextBlock block = editor.view.document()->begin(); block.isValid(); block = block.next()) {
            editor.view.document()->documentLayout()->blockBoundingRect(block);
            EXPECT_EQ(block.layout()->textOption().textDirection(), block.textDirection()) << block.text().toStdString();
            found.append(block.textDirection());
        }
        return found;
    };
    using enum Qt::LayoutDirection;
    EXPECT_EQ(directions(), (QList{RightToLeft, LeftToRight, RightToLeft, RightToLeft, LeftToRight, LeftToRight}));

    editor.view.setSelectionRange(TextRange{editor.text().size() - 1, 0});
    editor.typePlain(QStringLiteral("ש"));
    settle();
    EXPECT_EQ(directions().at(4), RightToLeft);
    editor.view.setSelectionRange(TextRange{editor.text().size() - 2, 0});
    editor.typePlain(QStringLiteral("a"));
    settle();
    EXPECT_EQ(directions().at(4), LeftToRight);
    editor.key(Qt::Key_Backspace);
    settle();
    EXPECT_EQ(directions().at(4), RightToLeft);
    editor.undo();
    settle();
    EXPECT_EQ(directions().at(4), LeftToRight);
    editor.redo();
    settle();
    EXPECT_EQ(directions().at(4), RightToLeft);
}

// The styling only revisits the paragraphs a keystroke, a caret move or a
// paste changed, and hands their formats to the document in batches: after
// each, the editor looks exactly like a new editor given the same text and
// selection.
TEST(CaptureTextViewTest, KeystrokesCaretMovesAndPastesRestyleAsAFreshEditor)
{
    const QString start = QStringLiteral(
        "# Titre\n\nDu **gras** et _rien_ #tag\n- [ ] tâche `code`\n  1. sous-point ==vu==\n"
        "> citation\n> > suite [[Note|lien]]\n\n```\nbloc *pas* stylé\n```\nfin ~~barré~~\n");
    const QStringList typed = {"x", "*", "`", "#", " ", ">", "-", "\n", "~", "\t", "ש"};
    // Pasted: runs of whole lines, some with hidden tabs, some long enough to wrap.
    const QStringList lines = start.split(u'\n')
                              + QStringList{"#\tTitre", ">\tcitée", "- [ ]\ttâche", "\t- sous-point", "- שלום",
                                            QString("une phrase assez longue pour passer à la ligne ").repeated(4)};
    Editor restyled;
    restyled.view.setContent(EditorContent::plain(start));
    settle();
    QRandomGenerator random(8);
    for (int step = 0; step < 80; ++step) {
        const qsizetype length = restyled.view.text().size();
        const int action = random.bounded(4);
        if (action == 0) {
            restyled.view.setSelectionRange(TextRange{random.bounded(int(length) + 1), 0});
        } else if (action == 1) {
            restyled.type(typed[random.bounded(int(typed.size()))]);
        } else if (action == 2) {
            QStringList pasted;
            for (int line = random.bounded(1, 40); line > 0; --line)
                pasted.append(lines[random.bounded(int(lines.size()))]);
            QApplication::clipboard()->setText(pasted.join(u'\n'));
            restyled.key(Qt::Key_V, Qt::ControlModifier);
        } else {
            restyled.key(Qt::Key_Backspace);
        }
        settle();
        if (!looksLikeAFreshEditor(restyled.view, step))
            return;
    }
}

// Selections spanning lines, a caret entering a code block whose fences lie
// far away, and typing over a selection: where the looks are decided again
// must still take in every character whose look changed.
TEST(CaptureTextViewTest, SelectionsAndDistantConcealmentRestyleAsAFreshEditor)
{
    const QString start = QStringLiteral("- [ ] tâche\n1. un\n10. dix\n```\nbloc\n\nencore *pas*\n```\n"
                                         "> cité **gras**\n[[Note]] `x` fin\n");
    const QStringList typed = {"x", "*", "`", "\n", "```", "1. ", "- [x] ", "> "};
    Editor restyled;
    restyled.view.setContent(EditorContent::plain(start.repeated(3)));
    settle();
    QRandomGenerator random(14);
    for (int step = 0; step < 80; ++step) {
        const int length = int(restyled.view.text().size());
        const int a = random.bounded(length + 1);
        const int b = random.bounded(length + 1);
        const int action = random.bounded(3);
        if (action == 0)
            restyled.view.setSelectionRange(TextRange::fromBounds(std::min(a, b), std::max(a, b)));
        else if (action == 1)
            restyled.type(typed[random.bounded(int(typed.size()))]);
        else
            restyled.key(Qt::Key_Backspace);
        settle();
        if (!looksLikeAFreshEditor(restyled.view, step))
            return;
    }
}

// A key in the middle of a large capture is laid out with its new look in
// the same layout as the text it typed: each paragraph then stands where a
// new editor given the same text lays it out, with the same look, whether
// the key made or unmade a list item, a quote, a fence or inline code.
TEST(CaptureTextViewTest, KeysInTheMiddleOfALargeCaptureLookAndStandAsInAFreshEditor)
{
    const QString block = QStringLiteral(
        "# Réunion\n\nNotes prises avec **Marie** et #travail/suivi.\n- [ ] relire la `spécification`\n"
        "    1. sous-point ~~rature~~\n> citation\n```cpp\nint main();\n```\nTexte libre.\n\n");
    Editor restyled;
    restyled.view.setContent(EditorContent::plain(block.repeated(400)));
    settle();
    const qsizetype middle = restyled.text().size() / 2;
    const qsizetype item = restyled.text().indexOf(QStringLiteral("\n- [ ]"), middle) + 2;
    const qsizetype plain = restyled.text().indexOf(QStringLiteral("Notes"), middle);
    const qsizetype code = restyled.text().indexOf(QStringLiteral("int main"), middle);
    const struct {
        qsizetype caret;
        QString typed;   // then as many Backspaces, one step each
    } steps[] = {
        {item, QStringLiteral("x")}, {item - 1, QStringLiteral(">")}, {plain, QStringLiteral("- ")},
        {plain, QStringLiteral("> ")}, {plain, QStringLiteral("`")}, {plain, QStringLiteral("```")},
        {code, QStringLiteral("```\n")}, {item + 4, QStringLiteral("\t")},
    };
    int step = 0;
    const auto check = [&] {
        Editor fresh;
        fresh.view.setContent(restyled.view.content());
        fresh.view.setSelectionRange(restyled.selection());
        settle();
        const std::string where = "step " + std::to_string(step++);
        expectSameLook(restyled.view, fresh.view, where);
        QAbstractTextDocumentLayout* a = restyled.view.document()->documentLayout();
        QAbstractTextDocumentLayout* b = fresh.view.document()->documentLayout();
        for (QTextBlock x = restyled.view.document()->begin(), y = fresh.view.document()->begin();
             x.isValid() && y.isValid() && !testing::Test::HasFailure(); x = x.next(), y = y.next())
            EXPECT_EQ(a->blockBoundingRect(x), b->blockBoundingRect(y)) << where << ", paragraph " << x.blockNumber();
        return !testing::Test::HasFailure();
    };
    for (const auto& [caret, typed] : steps) {
        restyled.view.setSelectionRange(TextRange{caret, 0});
        for (const QChar c : typed) {
            restyled.typePlain(QString(c));
            settle();
            if (!check())
                return;
        }
        for (qsizetype i = 0; i < typed.size(); ++i) {
            restyled.key(Qt::Key_Backspace);
            settle();
            if (!check())
                return;
        }
    }
    // The list rules' own edits: Return after an item starts another, and
    // undo and redo replay it.
    restyled.view.setSelectionRange(TextRange{restyled.text().indexOf(u'\n', item), 0});
    for (const auto& act : std::initializer_list<std::function<void()>>{
             [&] { restyled.key(Qt::Key_Return); }, [&] { restyled.undo(); }, [&] { restyled.redo(); }}) {
        act();
        settle();
        if (!check())
            return;
    }
}

// A key that makes a line a list item or unmakes one changes the line's
// indent and height. Its paragraph formats are laid out with the text it
// typed, so that the thousands of paragraphs below it in a large capture are
// moved once, not a second time at the end of the key; so are the list
// rules' own edits and their undo and redo. The document's layout reports
// each pass it makes.
TEST(CaptureTextViewTest, AKeyThatChangesALinesStructureIsLaidOutOnce)
{
    const QString block = QStringLiteral("# Réunion\n\nNotes prises avec **Marie**.\n- [ ] relire la `liste`\n"
                                         "> citation\n```cpp\nint main();\n```\nTexte libre.\n\n");
    const QString text = block.repeated(400);
    Editor editor;
    editor.view.setContent(EditorContent::plain(text));
    settle();
    const qsizetype plain = text.indexOf(QStringLiteral("\nNotes"), text.size() / 2) + 1;
    const qsizetype itemEnd = text.indexOf(u'\n', text.indexOf(QStringLiteral("\n- [ ]"), plain) + 1);
    int passes = 0;
    QObject::connect(editor.view.document()->documentLayout(), &QAbstractTextDocumentLayout::update, [&] { ++passes; });
    const struct {
        const char* what;
        qsizetype caret;   // -1: where the step before left it
        std::function<void()> act;
    } steps[] = {
        {"a dash at the start of a paragraph", plain, [&] { editor.typePlain(QStringLiteral("-")); }},
        {"a space making it a list item", -1, [&] { editor.typePlain(QStringLiteral(" ")); }},
        {"Backspace taking the marker away", -1, [&] { editor.key(Qt::Key_Backspace); }},
        {"Return after a list item", itemEnd, [&] { editor.key(Qt::Key_Return); }},
        {"undo", -1, [&] { editor.undo(); }},
        {"redo", -1, [&] { editor.redo(); }},
    };
    for (const auto& step : steps) {
        if (step.caret >= 0) {
            editor.view.setSelectionRange(TextRange{step.caret, 0});
            settle();
        }
        passes = 0;
        step.act();
        settle();
        EXPECT_EQ(passes, 1) << step.what;
    }
    EXPECT_EQ(editor.text(), QString(text).insert(itemEnd, QStringLiteral("\n- [ ] ")));
}

// Each report recomputes the completions of a whole vault: a key reports
// what it did once, and a selection reports only when it moved.
TEST(CaptureTextViewTest, AKeyReportsItsEditOnceAndASelectionOnlyWhenItMoved)
{
    const struct {
        const char* name;
        std::function<void(CaptureTextView&)> act;
        int edits;
        int moves;
    } cases[] = {
        {"a paired delimiter", [](CaptureTextView& view) { QTest::keyClick(&view, '('); }, 1, 0},
        {"a caret move", [](CaptureTextView& view) { QTest::keyClick(&view, Qt::Key_Left); }, 0, 1},
        {"the same selection again", [](CaptureTextView& view) { view.setSelectionRange(TextRange{3, 0}); }, 0, 0},
        {"a new content, then the old caret",
         [](CaptureTextView& view) {
             view.setContent(EditorContent::plain(QStringLiteral("autre")));
             QCoreApplication::processEvents();
             view.setSelectionRange(TextRange{3, 0});
         },
         0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor;
        editor.view.setContent(EditorContent::plain(QStringLiteral("mot")));
        editor.view.setSelectionRange(TextRange{3, 0});
        QCoreApplication::processEvents();
        int edits = 0;
        int moves = 0;
        QObject::connect(&editor.view, &CaptureTextView::contentEdited, [&] { ++edits; });
        QObject::connect(&editor.view, &CaptureTextView::selectionMoved, [&] { ++moves; });
        c.act(editor.view);
        QCoreApplication::processEvents();
        EXPECT_EQ(edits, c.edits);
        EXPECT_EQ(moves, c.moves);
    }
}

} // namespace

namespace {

// The tops of a paragraph's lines in the document.
QList<qreal> lineTops(const QTextDocument& document, const QTextBlock& block)
{
    const QRectF box = document.documentLayout()->blockBoundingRect(block);
    QList<qreal> tops;
    for (int i = 0; i < block.layout()->lineCount(); ++i)
        tops.append(box.top() + block.layout()->lineAt(i).y());
    return tops;
}

} // namespace

// Each line of a wrapped paragraph is as tall as its first: a list item's
// lines (L + 2) × 1.5, another paragraph's L + 2, L being the body font's line
// height, and the paragraph ends where its last line does.
TEST(CaptureTextViewTest, EveryLineOfAWrappedParagraphHasTheParagraphsLineHeight)
{
    Editor editor(240);
    const QString words =
        QStringLiteral("des mots assez nombreux pour remplir trois lignes au moins de cet éditeur étroit");
    editor.view.setContent(EditorContent::plain(QStringLiteral("- ") + words + u'\n' + words + QStringLiteral("\nfin")));
    QCoreApplication::processEvents();
    const qreal lineSpacing = QFontMetricsF(EditorFonts(editor.view.font()).body()).lineSpacing();
    const struct {
        const char* what;
        int block;
        qreal height;
    } cases[] = {
        {"wrapped list item", 0, MarkdownGlyphPresentation::targetHeight(lineSpacing, true)},
        {"wrapped paragraph", 1, MarkdownGlyphPresentation::targetHeight(lineSpacing, false)},
    };
    const QTextDocument& document = *editor.view.document();
    for (const auto& c : cases) {
        const QTextBlock block = document.findBlockByNumber(c.block);
        const QList<qreal> tops = lineTops(document, block);
        ASSERT_GE(tops.size(), 3) << c.what;
        for (qsizetype i = 1; i < tops.size(); ++i)
            EXPECT_NEAR(tops[i] - tops[i - 1], c.height, 0.05) << c.what << ", line " << i;
        const qreal top = document.documentLayout()->blockBoundingRect(block).top();
        const qreal bottom = document.documentLayout()->blockBoundingRect(block.next()).top();
        EXPECT_NEAR(bottom - top, c.height * qreal(tops.size()), 0.05) << c.what;
        // The decorations see the same rooms, one after the other.
        const DocumentDecorationLayout layout(document, editor.text().size(), editor.view.glyphPresentation());
        const QList<LineFragment> fragments = layout.lineFragments(TextRange{block.position(), block.length()});
        ASSERT_EQ(fragments.size(), tops.size()) << c.what;
        EXPECT_NEAR(fragments.first().rect.top(), top, 0.05) << c.what;
        for (const LineFragment& fragment : fragments)
            EXPECT_NEAR(fragment.rect.height(), c.height, 0.05) << c.what;
        EXPECT_NEAR(fragments.last().rect.bottom(), bottom, 0.05) << c.what;
    }
}

// A hidden tab takes no more room than a hidden space: the text after it
// starts where it would after "# ", "> " or "- [ ] ".
TEST(CaptureTextViewTest, AHiddenTabTakesNoRoom)
{
    const struct {
        QString withTab;
        qsizetype text;   // where the text after the hidden syntax starts
    } cases[] = {
        {QStringLiteral("#\tTitre"), 2},
        {QStringLiteral(">\ta"), 2},
        {QStringLiteral("- [ ]\ttâche"), 6},
    };
    for (const auto& c : cases) {
        QString withSpace = c.withTab;
        withSpace.replace(u'\t', u' ');
        Editor tabbed, spaced;
        // The caret on another line: the syntax is hidden.
        tabbed.view.setContent(EditorContent::plain(c.withTab + QStringLiteral("\nfin")));
        spaced.view.setContent(EditorContent::plain(withSpace + QStringLiteral("\nfin")));
        QCoreApplication::processEvents();
        ASSERT_TRUE(tabbed.view.glyphPresentation().hiddenCharacters().contains(c.withTab.indexOf(u'\t')))
            << c.withTab.toStdString();
        const qreal hidden = tabbed.caretX(c.text);
        EXPECT_NEAR(hidden, spaced.caretX(c.text), 0.5) << c.withTab.toStdString();

        // Shown again with the caret in the syntax, the tab takes its room again.
        tabbed.view.setSelectionRange(TextRange{1, 0});
        QCoreApplication::processEvents();
        ASSERT_FALSE(tabbed.view.glyphPresentation().hiddenCharacters().contains(c.withTab.indexOf(u'\t')))
            << c.withTab.toStdString();
        EXPECT_GT(tabbed.caretX(c.text) - hidden, 2) << c.withTab.toStdString();
    }
}

// Overlapping styles add up on each character: bold in a heading is heavy at
// the heading's size, italic in bold is both.
TEST(CaptureTextViewTest, OverlappingStylesAddUpOnEachCharacter)
{
    Editor editor;
    editor.view.setContent(EditorContent::plain(QStringLiteral("## Titre **gras**\n**gras _mixte_** fin\nx")));
    QCoreApplication::processEvents();
    const QString text = editor.text();
    const qreal bodyPoints = QFontInfo(EditorFonts(editor.view.font()).body()).pointSizeF();
    const struct {
        const char* what;
        qsizetype position;
        int weight;
        bool italic;
        qreal points;
    } cases[] = {
        {"heading", text.indexOf(u"Titre"), QFont::Bold, false, bodyPoints * 25 / 17},
        {"bold in a heading", text.indexOf(u"gras"), QFont::ExtraBold, false, bodyPoints * 25 / 17},
        {"bold", text.lastIndexOf(u"gras"), QFont::ExtraBold, false, 0},
        {"italic in bold", text.indexOf(u"mixte"), QFont::ExtraBold, true, 0},
        {"plain after them", text.indexOf(u"fin"), QFont::Normal, false, 0},
    };
    for (const auto& c : cases) {
        const QTextCharFormat format = editor.formatAt(c.position);
        EXPECT_EQ(format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() : int(QFont::Normal), c.weight)
            << c.what;
        EXPECT_EQ(format.fontItalic(), c.italic) << c.what;
        if (c.points > 0) {
            EXPECT_NEAR(format.font().pointSizeF(), c.points, 1e-6) << c.what;
        }
    }
}

// A long content set whole is laid out once, after its styling, and mostly
// of plain lines that get no formats of their own: it must look as the same
// text given by an edit, each paragraph styled as it goes, and show its end
// with the caret there.
TEST(CaptureTextViewTest, ALongContentSetWholeLooksAsAnEditMadeItAndShowsItsEnd)
{
    const QString markdown = QStringLiteral("# Titre\n- [ ] tâche **gras**\n> citée\n\tretrait\nשלום le monde\n"
                                            "```\nbloc\n```\nfin\n");
    const struct {
        const char* what;
        QString text;
    } cases[] = {
        {"empty lines", QString(20'000, u'\n')},
        {"Markdown between empty lines", (markdown + QString(300, u'\n')).repeated(40)},
        {"plain lines", QStringLiteral("une ligne\n").repeated(2'000)},
    };
    for (const auto& c : cases) {
        Editor whole;
        whole.view.setContent(EditorContent::plain(c.text));
        settle();
        Editor edited;
        edited.view.setContent(EditorContent::plain(QStringLiteral("x")));
        settle();
        edited.view.replaceUndoably(TextRange{0, 1}, EditorContent::plain(c.text), c.text.size(),
                                    QStringLiteral("test"), std::nullopt);
        settle();
        expectSameLook(edited.view, whole.view, c.what);

        const QScrollBar* bar = whole.view.verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0) << c.what;
        EXPECT_EQ(bar->value(), bar->maximum()) << c.what;
        EXPECT_EQ(whole.selection(), (TextRange{c.text.size(), 0})) << c.what;
        EXPECT_TRUE(whole.view.viewport()->rect().contains(whole.view.cursorRect())) << c.what;
    }
}
