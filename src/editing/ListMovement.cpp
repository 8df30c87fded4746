#include "editing/ListMovement.h"

#include "core/TextLines.h"
#include "editing/LineItems.h"

#include <algorithm>
#include <deque>
#include <vector>

namespace quillor {
namespace ListMovement {

namespace {

constexpr int maximumSteps = 32;
constexpr qsizetype levelWidth = 4;
constexpr qsizetype notSearched = -2;

struct Line {
    TextRange range;    // ending included
    TextRange body;     // ending excluded
    qsizetype indentLength = 0;
    qsizetype columns = 0;
    TextRange ending;

    bool isBlank() const { return indentLength == body.length; }
    TextRange afterIndent() const { return TextRange::fromBounds(body.location + indentLength, body.end()); }
};

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// A line ends at LF, CR or CRLF, nothing else: the moves must keep every other
// break inside the line it belongs to.
bool isBreak(QChar c) { return c == u'\n' || c == u'\r'; }

// The end of the body of the line starting at `start`.
qsizetype bodyEndFrom(QStringView text, qsizetype start)
{
    qsizetype bodyEnd = start;
    while (bodyEnd < text.size() && !isBreak(text[bodyEnd]))
        ++bodyEnd;
    return bodyEnd;
}

// The line from `start` (before the text's end) whose body ends at `bodyEnd`.
Line lineFrom(QStringView text, qsizetype start, qsizetype bodyEnd)
{
    const qsizetype n = text.size();
    qsizetype end = bodyEnd;
    if (end < n)
        end += text[end] == u'\r' && end + 1 < n && text[end + 1] == u'\n' ? 2 : 1;
    Line line;
    line.range = TextRange::fromBounds(start, end);
    line.body = TextRange::fromBounds(start, bodyEnd);
    line.ending = TextRange::fromBounds(bodyEnd, end);
    for (qsizetype j = start; j < bodyEnd && isBlank(text[j]); ++j) {
        line.columns = text[j] == u'\t' ? (line.columns / levelWidth + 1) * levelWidth : line.columns + 1;
        ++line.indentLength;
    }
    return line;
}

Line lineFrom(QStringView text, qsizetype start) { return lineFrom(text, start, bodyEndFrom(text, start)); }

// The next `c` at or after `from`, or -1. `found` keeps the last answer, so
// that reading on downwards searches the text once for each character.
qsizetype nextOf(QStringView text, QChar c, qsizetype from, qsizetype& found)
{
    if (found == notSearched || (found >= 0 && found < from))
        found = text.indexOf(c, from);
    return found;
}

// The start of the line holding the unit (before the text's end).
qsizetype lineStartHolding(QStringView text, qsizetype unit)
{
    qsizetype i = unit;
    // The LF of a CRLF ends the same line as its CR.
    if (i > 0 && text[i] == u'\n' && text[i - 1] == u'\r')
        --i;
    while (i > 0 && !isBreak(text[i - 1]))
        --i;
    return i;
}

// The first line break of the text, which a line that had none gets when it
// moves away from the end; LF in a text without one.
QStringView firstEnding(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isBreak(text[i]))
            return text.mid(i, text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1);
    }
    return u"\n";
}

// Writes the pieces of a new text. A copy that continues the previous one
// joins it, so that the lines that stay in place make one piece.
class PieceWriter {
public:
    void copy(TextRange range)
    {
        if (range.isEmpty())
            return;
        m_position += range.length;
        if (!m_pieces.isEmpty() && m_pieces.back().kind == Piece::Kind::source && m_pieces.back().range.end() == range.location)
            m_pieces.back().range.length += range.length;
        else
            m_pieces.append(Piece::source(range));
    }
    void write(QString literal)
    {
        if (literal.isEmpty())
            return;
        m_position += literal.size();
        m_pieces.append(Piece::text(std::move(literal)));
    }
    void append(const PieceWriter& other)
    {
        for (const Piece& piece : other.m_pieces) {
            if (piece.kind == Piece::Kind::source)
                copy(piece.range);
            else
                write(piece.literal);
        }
    }
    // Whether the pieces written so far spell `old` again.
    bool spells(const QString& text, QStringView old) const
    {
        if (m_position != old.size())
            return false;
        qsizetype at = 0;
        for (const Piece& piece : m_pieces) {
            const QStringView part = piece.kind == Piece::Kind::source
                ? QStringView(text).mid(piece.range.location, piece.range.length)
                : QStringView(piece.literal);
            if (part != old.mid(at, part.size()))
                return false;
            at += part.size();
        }
        return true;
    }
    // The length of the new text so far.
    qsizetype position() const { return m_position; }
    QList<Piece> pieces() const { return m_pieces; }

private:
    QList<Piece> m_pieces;
    qsizetype m_position = 0;
};

// The text's lines, read outwards from one line as the rules walk to them, and
// the items that open them: a move looks at the lines around the caret and
// its destination, not at every line of the note. Line 0 is the one the
// reading started from; the lines above it have negative indices.
class Outline {
public:
    Outline(const QString& text, qsizetype anchor) : m_text(text), m_items(text)
    {
        if (!text.isEmpty())
            m_lines.push_back(lineFrom(text, lineStartHolding(text, std::clamp<qsizetype>(anchor, 0, text.size() - 1))));
    }

    // Whether the text has that line; reads on up to it.
    bool has(qsizetype index) const
    {
        if (m_lines.empty())
            return false;
        while (index < m_first && m_lines.front().range.location > 0) {
            m_lines.push_front(lineFrom(m_text, lineStartHolding(m_text, m_lines.front().range.location - 1)));
            --m_first;
        }
        while (index >= end() && m_lines.back().range.end() < m_text.size())
            m_lines.push_back(nextLine());
        return index >= m_first && index < end();
    }

    // A line the text has. The reference stays valid as long as the value.
    const Line& operator[](qsizetype index) const
    {
        [[maybe_unused]] const bool exists = has(index);
        Q_ASSERT(exists);
        return m_lines[std::size_t(index - m_first)];
    }

    // The line holding the position; the last line for the end of the text.
    // Needs a non-empty text.
    qsizetype indexAt(qsizetype position) const
    {
        while (position < m_lines.front().range.location && has(m_first - 1)) {
        }
        while (position >= m_lines.back().range.end() && has(end())) {
        }
        const auto after = std::upper_bound(m_lines.cbegin(), m_lines.cend(), position,
                                            [](qsizetype p, const Line& line) { return p < line.range.location; });
        return m_first + std::max<qsizetype>(after - m_lines.cbegin() - 1, 0);
    }

    // The item opening the line.
    const ListSyntax::Item* item(qsizetype index) const
    {
        const std::optional<ListSyntax::Item>& found = m_items.opening((*this)[index].range.location);
        return found ? &*found : nullptr;
    }

    // The line starting exactly at the position.
    std::optional<qsizetype> lineStarting(qsizetype position) const
    {
        if (m_lines.empty())
            return std::nullopt;
        const qsizetype index = indexAt(position);
        return (*this)[index].range.location == position ? std::optional(index) : std::nullopt;
    }

    // The last line of the block of the item opening the line: the lines after
    // it indented deeper, up to the last non-blank one.
    qsizetype blockLast(qsizetype index) const
    {
        const qsizetype indentation = item(index)->indentation;
        qsizetype last = index;
        for (qsizetype j = index + 1; has(j); ++j) {
            if ((*this)[j].isBlank())
                continue;
            if ((*this)[j].columns <= indentation)
                break;
            last = j;
        }
        return last;
    }

    TextRange block(qsizetype index) const
    {
        return TextRange::fromBounds((*this)[index].range.location, (*this)[blockLast(index)].range.end());
    }

private:
    qsizetype end() const { return m_first + qsizetype(m_lines.size()); }

    // The line after the last one read.
    Line nextLine() const
    {
        const QStringView text(m_text);
        const qsizetype start = m_lines.back().range.end();
        const qsizetype lf = nextOf(text, u'\n', start, m_nextLf);
        const qsizetype cr = nextOf(text, u'\r', start, m_nextCr);
        const qsizetype found = lf == -1 ? cr : cr == -1 ? lf : std::min(lf, cr);
        return lineFrom(text, start, found == -1 ? text.size() : found);
    }

    const QString& m_text;
    // A deque keeps the lines in place as more are read at either end.
    mutable std::deque<Line> m_lines;
    mutable qsizetype m_first = 0;
    mutable qsizetype m_nextLf = notSearched;
    mutable qsizetype m_nextCr = notSearched;
    LineItems m_items;
};

bool isValid(const QString& text, TextRange selection)
{
    return selection.location >= 0 && selection.length >= 0 && selection.end() <= text.size();
}

// ---- Block moves ----

// Where one old line lands in the new text.
struct Placement {
    qsizetype start = 0;
    qsizetype indentWidth = 0;   // W: the indentation as written
    qsizetype bodyLength = 0;    // B
    qsizetype endingLength = 0;  // E
};

// The unit whose line a selection end is mapped through. The end of a
// non-empty selection goes with its last unit: whole lines selected with their
// line breaks must stay selected, not reach into the line that followed them.
qsizetype unitOf(TextRange selection, bool end)
{
    if (!end)
        return selection.location;
    return selection.isEmpty() ? selection.end() : selection.end() - 1;
}

// An offset past the whole old line break covers the whole new one, whatever
// their lengths, so that a CRLF is never split.
qsizetype endingOffset(const Line& line, qsizetype offset, qsizetype newEndingLength)
{
    const qsizetype intoEnding = offset - line.body.length;
    return offset == line.range.length ? newEndingLength : std::min(newEndingLength, intoEnding);
}

qsizetype mapPosition(const Line& line, const Placement& to, qsizetype position)
{
    const qsizetype offset = position - line.range.location;
    if (offset < line.indentLength)
        return to.start + std::min(to.indentWidth, offset);
    if (offset <= line.body.length)
        return to.start + to.indentWidth + (offset - line.indentLength);
    return to.start + to.bodyLength + endingOffset(line, offset, to.endingLength);
}

// The moved lines [first, end) of the old text, and where the block goes.
struct Move {
    qsizetype first = 0;
    qsizetype end = 0;
    TextRange block;
    qsizetype target = 0;   // the indentation asked for, in columns

    bool moves(qsizetype index) const { return index >= first && index < end; }
};

// An in-place outdent leaves the block after the whole block of the former
// parent it is leaving, not in the middle of its siblings. The parents open
// at the item's line are found walking up: each has a smaller indentation
// than every non-blank line after it up to the item.
qsizetype outdentDestination(const Outline& lines, const Move& move, qsizetype destination)
{
    std::optional<qsizetype> outermost;
    qsizetype shallowest = lines[move.first].columns;
    for (qsizetype j = move.first - 1; lines.has(j) && shallowest > move.target; --j) {
        if (lines[j].isBlank() || lines[j].columns >= shallowest)
            continue;
        if (lines.item(j) && lines[j].columns >= move.target)
            outermost = j;
        shallowest = lines[j].columns;
    }
    return outermost ? lines.block(*outermost).end() : destination;
}

// The insertion never splits the block of an item at the target level or
// deeper: it goes after the outermost such block still open at the
// destination (the blocks nest, so that one holds all the others).
qsizetype unsplitDestination(const Outline& lines, const Move& move, qsizetype destination)
{
    // The first non-blank line ending after the destination: an item before
    // it is open at the destination when nothing in between closed it.
    qsizetype next = lines.indexAt(destination);
    while (lines.has(next) && (lines[next].isBlank() || lines[next].range.end() <= destination))
        ++next;
    if (!lines.has(next))
        return destination;
    const auto isCandidate = [&](qsizetype j) {
        return lines.item(j) && !move.moves(j) && lines[j].columns >= move.target;
    };
    std::optional<qsizetype> outermost;
    if (lines[next].range.location < destination && isCandidate(next))
        outermost = next;
    qsizetype shallowest = lines[next].columns;
    for (qsizetype j = next - 1; lines.has(j) && shallowest > move.target; --j) {
        if (lines[j].isBlank() || lines[j].columns >= shallowest)
            continue;
        if (isCandidate(j))
            outermost = j;
        shallowest = lines[j].columns;
    }
    return outermost ? std::max(destination, lines.block(*outermost).end()) : destination;
}

// One level below the nearest item before the insertion point, or the left
// margin after plain text or at the top.
qsizetype maximumIndentation(const Outline& lines, const Move& move, qsizetype insertion)
{
    for (qsizetype j = insertion - 1; lines.has(j); --j) {
        if (move.moves(j) || lines[j].isBlank())
            continue;
        if (const ListSyntax::Item* item = lines.item(j))
            return item->indentation + levelWidth;
        if (lines[j].columns == 0)
            return 0;
    }
    return 0;
}

// The lines from the insertion point to the far end of the block, in their
// new order; the lines outside them keep their place.
QList<qsizetype> newOrder(const Move& move, qsizetype insertion)
{
    QList<qsizetype> order;
    const auto append = [&](qsizetype from, qsizetype to) {
        for (qsizetype j = from; j < to; ++j)
            order.append(j);
    };
    if (insertion <= move.first) {
        append(move.first, move.end);
        append(insertion, move.first);
    } else {
        append(move.end, insertion);
        append(move.first, move.end);
    }
    return order;
}

// Only the lines between the insertion point and the block change: the text
// before them is copied as one piece, the text after them too, shifted by
// what the moved lines gained or lost. Absent when the text stays the same.
std::optional<Plan> assemble(const QString& text, const Outline& lines, const Move& move, qsizetype insertion,
                             qsizetype delta, TextRange selection)
{
    const qsizetype from = std::min(insertion, move.first);
    const qsizetype to = std::max(insertion, move.end);
    const bool reachesEnd = !lines.has(to);
    const qsizetype windowStart = lines[from].range.location;
    const qsizetype windowEnd = reachesEnd ? text.size() : lines[to].range.location;
    const QStringView lastEnding = QStringView(text).mid(lines[to - 1].ending.location, lines[to - 1].ending.length);
    const QList<qsizetype> order = newOrder(move, insertion);
    std::vector<Placement> placements(std::size_t(to - from));
    PieceWriter window;
    for (qsizetype k = 0; k < order.size(); ++k) {
        const Line& line = lines[order[k]];
        Placement& placement = placements[std::size_t(order[k] - from)];
        placement.start = windowStart + window.position();
        if (move.moves(order[k]) && !line.isBlank() && delta != 0) {
            placement.indentWidth = std::max<qsizetype>(line.columns + delta, 0);
            window.write(QString(placement.indentWidth, u' '));
            window.copy(line.afterIndent());
        } else {
            placement.indentWidth = line.indentLength;
            window.copy(line.body);
        }
        placement.bodyLength = windowStart + window.position() - placement.start;

        const QStringView oldEnding = QStringView(text).mid(line.ending.location, line.ending.length);
        const QStringView ending = reachesEnd && k == order.size() - 1 ? lastEnding
            : oldEnding.isEmpty()                                      ? firstEnding(text)
                                                                       : oldEnding;
        if (ending == oldEnding)
            window.copy(line.ending);
        else
            window.write(ending.toString());
        placement.endingLength = ending.size();
    }
    if (window.spells(text, QStringView(text).mid(windowStart, windowEnd - windowStart)))
        return std::nullopt;

    PieceWriter whole;
    whole.copy(TextRange::fromBounds(0, windowStart));
    whole.append(window);
    whole.copy(TextRange::fromBounds(windowEnd, text.size()));
    const qsizetype shift = windowStart + window.position() - windowEnd;
    const auto map = [&](bool end) {
        const qsizetype position = end ? selection.end() : selection.location;
        const qsizetype unit = unitOf(selection, end);
        if (unit < windowStart)
            return position;
        if (!reachesEnd && unit >= windowEnd)
            return position + shift;
        const qsizetype index = lines.indexAt(unit);
        return mapPosition(lines[index], placements[std::size_t(index - from)], position);
    };
    const qsizetype a = map(false);
    const qsizetype b = map(true);

    Plan plan;
    plan.pieces = whole.pieces();
    plan.selection = TextRange::fromBounds(std::min(a, b), std::max(a, b));
    const Placement& first = placements[std::size_t(move.first - from)];
    const Placement& last = placements[std::size_t(move.end - 1 - from)];
    plan.movedRange = TextRange::fromBounds(first.start, last.start + last.bodyLength + last.endingLength);
    return plan;
}

std::optional<Plan> planBlockMove(const QString& text, const Outline& lines, qsizetype itemLine, qsizetype destination,
                                  int indentSteps, TextRange selection)
{
    const ListSyntax::Item& item = *lines.item(itemLine);
    Move move;
    move.first = itemLine;
    move.end = lines.blockLast(itemLine) + 1;
    move.block = TextRange::fromBounds(lines[move.first].range.location, lines[move.end - 1].range.end());

    if (destination > move.block.location && destination < move.block.end())
        destination = move.block.location;
    const int steps = std::clamp(indentSteps, -maximumSteps, maximumSteps);
    move.target = std::max<qsizetype>(item.indentation + steps * levelWidth, 0);
    if (steps < 0 && (destination == move.block.location || destination == move.block.end()))
        destination = outdentDestination(lines, move, destination);
    destination = unsplitDestination(lines, move, destination);

    // Before the first line that stays and starts at or after the destination.
    qsizetype insertion = lines.indexAt(destination);
    if (lines[insertion].range.location < destination)
        ++insertion;
    if (move.moves(insertion))
        insertion = move.end;
    const qsizetype indentation = std::min(move.target, maximumIndentation(lines, move, insertion));
    // Back into its own place at its own level: the text would not change.
    if ((insertion == move.first || insertion == move.end) && indentation == item.indentation)
        return std::nullopt;

    std::optional<Plan> plan = assemble(text, lines, move, insertion, indentation - item.indentation, selection);
    if (!plan)
        return std::nullopt;
    plan->indentation = indentation;
    plan->destination = destination;
    return plan;
}

// ---- Plain line moves ----

// Two neighbouring lines swap their texts; each place keeps its own line
// break, so a missing final break stays missing. Their lengths together stay
// the same, so nothing else moves.
std::optional<Plan> plainLinePlan(const QString& text, const Outline& lines, TextRange selection, bool down)
{
    if (text.isEmpty())
        return std::nullopt;
    const qsizetype n = text.size();
    // After a final line break comes an empty line, which moves like the others.
    const bool endsWithBreak = isBreak(text.back());
    const auto line = [&](qsizetype index) -> std::optional<Line> {
        if (lines.has(index))
            return lines[index];
        if (endsWithBreak && lines.has(index - 1)) {
            Line empty;
            empty.range = empty.body = empty.ending = TextRange{n, 0};
            return empty;
        }
        return std::nullopt;
    };
    const qsizetype i = endsWithBreak && selection.location == n ? lines.indexAt(n) + 1 : lines.indexAt(selection.location);
    const qsizetype j = down ? i + 1 : i - 1;
    if (!line(j))
        return std::nullopt;

    const qsizetype upperIndex = std::min(i, j);
    const Line upper = *line(upperIndex);
    const Line lower = *line(upperIndex + 1);
    const bool lowerIsLast = !line(upperIndex + 2);
    PieceWriter writer;
    writer.copy(TextRange::fromBounds(0, upper.range.location));
    const qsizetype lowerStart = writer.position();   // where the lower line's body goes
    writer.copy(lower.body);
    writer.copy(upper.ending);
    const qsizetype upperStart = writer.position();
    writer.copy(upper.body);
    writer.copy(lower.ending);
    writer.copy(TextRange::fromBounds(lower.range.end(), n));

    Plan plan;
    plan.pieces = writer.pieces();
    const auto map = [&](bool end) {
        const qsizetype position = end ? selection.end() : selection.location;
        const qsizetype unit = unitOf(selection, end);
        if (unit < upper.range.location || (unit >= lower.range.end() && !lowerIsLast))
            return position;
        const bool inLower = unit >= lower.range.location;
        const Line& from = inLower ? lower : upper;
        // The line now holding that place keeps the place's line break.
        const Line& place = inLower ? upper : lower;
        const qsizetype start = inLower ? lowerStart : upperStart;
        const qsizetype offset = position - from.range.location;
        if (offset <= from.body.length)
            return start + offset;
        return start + from.body.length + endingOffset(from, offset, place.ending.length);
    };
    const qsizetype a = map(false);
    const qsizetype b = map(true);
    plan.selection = TextRange::fromBounds(std::min(a, b), std::max(a, b));
    const Line moved = i == upperIndex ? upper : lower;
    plan.indentation = moved.columns;
    plan.destination = (i == upperIndex ? lower : upper).range.location;
    plan.movedRange = {i == upperIndex ? upperStart : lowerStart, moved.body.length};
    return plan;
}

// The sibling (or shallower item) the block moves past.
std::optional<qsizetype> keyboardDestination(const Outline& lines, qsizetype itemLine, bool down)
{
    const qsizetype indentation = lines.item(itemLine)->indentation;
    const auto isTarget = [&](qsizetype j) {
        return !lines[j].isBlank() && lines[j].columns <= indentation && lines.item(j);
    };
    if (down) {
        for (qsizetype j = lines.blockLast(itemLine) + 1; lines.has(j); ++j) {
            if (isTarget(j))
                return lines.block(j).end();
        }
        return std::nullopt;
    }
    for (qsizetype j = itemLine - 1; lines.has(j); --j) {
        if (isTarget(j))
            return lines[j].range.location;
    }
    return std::nullopt;
}

} // namespace

Piece Piece::source(TextRange range)
{
    Piece piece;
    piece.kind = Kind::source;
    piece.range = range;
    return piece;
}

Piece Piece::text(QString literal)
{
    Piece piece;
    piece.kind = Kind::text;
    piece.literal = std::move(literal);
    return piece;
}

QString Plan::replacement(const QString& text) const
{
    QString result;
    for (const Piece& piece : pieces)
        result += piece.kind == Piece::Kind::source ? QStringView(text).mid(piece.range.location, piece.range.length)
                                                    : QStringView(piece.literal);
    return result;
}

QMap<qsizetype, TextRange> blockRanges(const QString& text)
{
    const Outline lines(text, 0);
    struct Open {
        qsizetype start;
        qsizetype indentation;
    };
    QMap<qsizetype, TextRange> blocks;
    QList<Open> open;
    qsizetype runningEnd = 0;
    const auto close = [&] {
        blocks.insert(open.back().start, TextRange::fromBounds(open.back().start, runningEnd));
        open.removeLast();
    };
    for (qsizetype j = 0; lines.has(j); ++j) {
        if (lines[j].isBlank())
            continue;
        while (!open.isEmpty() && open.back().indentation >= lines[j].columns)
            close();
        if (const ListSyntax::Item* item = lines.item(j))
            open.append({lines[j].range.location, item->indentation});
        runningEnd = lines[j].range.end();
    }
    while (!open.isEmpty())
        close();
    return blocks;
}

TextRange blockRange(const QString& text, const ListSyntax::Item& item)
{
    const Outline lines(text, item.line.location);
    const std::optional<qsizetype> index = lines.lineStarting(item.line.location);
    return index && lines.item(*index) ? lines.block(*index) : item.line;
}

std::optional<Plan> plan(const QString& text, const ListSyntax::Item& item, qsizetype destination, int indentSteps,
                         TextRange selection)
{
    if (!isValid(text, selection) || destination < 0 || destination > text.size())
        return std::nullopt;
    const Outline lines(text, item.line.location);
    // An item that does not open a line (one after a rarer line break) has no
    // lines of its own to move.
    const std::optional<qsizetype> index = lines.lineStarting(item.line.location);
    if (!index || !lines.item(*index) || *lines.item(*index) != item)
        return std::nullopt;
    return planBlockMove(text, lines, *index, destination, indentSteps, selection);
}

std::optional<Plan> commandPlan(const QString& text, TextRange selection, bool down)
{
    if (!isValid(text, selection))
        return std::nullopt;
    const Outline lines(text, selection.location);
    const std::optional<qsizetype> index = lines.lineStarting(TextLines::lineRange(text, selection.location).location);
    if (!index || !lines.item(*index))
        return plainLinePlan(text, lines, selection, down);
    const std::optional<qsizetype> destination = keyboardDestination(lines, *index, down);
    if (!destination)
        return std::nullopt;
    return planBlockMove(text, lines, *index, *destination, 0, selection);
}

} // namespace ListMovement
} // namespace quillor
