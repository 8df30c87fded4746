#pragma once

#include "core/Capture.h"

#include <QString>

#include <functional>
#include <optional>

namespace quillor {

// Reads what a list of stored captures shows (text, dates, destination,
// image references) from a capture's JSON file without reading its
// attachments' bytes into memory: the summary's `attachments` is empty.
namespace CaptureSummary {

// A file written by this program keeps its attachments before its other
// keys, so only its end is read; any other layout is read once in pieces,
// the attachments' data left out on the way. nullopt when the file is not a
// capture, cannot be read, or is given up (`isCancelled`).
//
// A summary holds at most 32 MB of text. Past that, given `textLeftOut`, the
// capture comes without its text (an empty body) and the flag is set;
// otherwise it is nothing.
std::optional<Capture> read(const QString& path, const std::function<bool()>& isCancelled = {},
                            bool* textLeftOut = nullptr);

// The JSON text with the value of every "data" key emptied, fed piece by piece.
class DataElision {
public:
    void feed(QByteArrayView piece);
    const QByteArray& text() const { return m_text; }

private:
    enum class State { between, inString, inData };
    State m_state = State::between;
    bool m_escaped = false;
    QByteArray m_string;        // the string being read, while it may still be "data"
    bool m_stringMayBeKey = false;
    bool m_lastStringWasData = false;
    bool m_dataValueNext = false;
    QByteArray m_text;
};

} // namespace CaptureSummary
} // namespace quillor
