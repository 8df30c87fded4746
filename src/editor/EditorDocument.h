#pragma once

#include "core/TextRange.h"
#include "model/EditorContent.h"

#include <QString>
#include <QTextFormat>

#include <optional>

class QTextCursor;
class QTextDocument;

namespace quillor {

// How the model's EditorContent lives in the editor's QTextDocument, so that
// every document position is the model's UTF-16 offset: each "\n" is one
// paragraph break, each inline image one U+FFFC carrying a QTextImageFormat
// (its bytes in the document's resources), and nothing else (no frames, lists
// or tables) is ever put into the document.
namespace EditorDocument {

// Where an image format keeps what the model gave for the image, so that the
// content read back is the content put in.
constexpr int fileNameProperty = QTextFormat::UserProperty + 1;
constexpr int contentsProperty = QTextFormat::UserProperty + 2;
constexpr int displaySizeProperty = QTextFormat::UserProperty + 3;

// "\r\n", "\r" and U+2029 become "\n": a paragraph break is one position on
// both sides. Images move with the text around them.
QString normalizedLineEnds(const QString& text);
EditorContent normalizedLineEnds(const EditorContent& content);

// The whole text as the editing rules read it: raw (no-break spaces and U+2028
// kept), paragraph separators as "\n".
QString engineText(const QTextDocument& document);

// The text and images of a range of the document.
EditorContent extract(const QTextDocument& document, TextRange range);

// Inserts the content at the cursor in the document's default character
// format; the content's line ends must already be normalised. Each image's
// bytes are registered with the document under a name of their own.
void insert(QTextCursor& cursor, const EditorContent& content);

// The image an image format stands for; absent for any other format.
std::optional<InlineImage> inlineImage(const QTextFormat& format);

// The part of a content inside a range, images placed from the range's start.
EditorContent slice(const EditorContent& content, TextRange range);

} // namespace EditorDocument
} // namespace quillor
