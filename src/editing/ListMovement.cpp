#include "editing/ListMovement.h"

#include "core/TextLines.h"
#include "editing/LineItems.h"

#include <algorithm>

namespace quillor {
namespace ListMovement {

namespace {

constexpr int maximumSteps = 32;
constexpr qsizetype levelWidth = 4;

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

// The next LF or CR at or after `from`, or the text's size; `lf` and `cr` keep
// the last found of each so that the text is searched once for each.
qsizetype nextBreak(QStringView text, qsizetype from, qsizetype& lf, qsizetype& cr)
{
    if (lf != -1 && lf < from)
        lf = text.indexOf(u'\n', from);
    if (cr != -1 && cr < from)
        cr = text.indexOf(u'\r', from);
    const qsizetype found = lf == -1 ? cr : cr == -1 ? lf : std::min(lf, cr);
    return found == -1 ? text.size() : found;
}

// A line ends at LF, CR or CRLF, nothing else: the moves must keep every other
// break inside the line it belongs to.
QList<Line> lines(const QString& text)
{
    const QStringView view(text);
    const qsizetype n = text.size();
    QList<Line> result;
    qsizetype lf = view.indexOf(u'\n');
    qsizetype cr = view.indexOf(u'\r');
    for (qsizetype start = 0; start < n;) {
        const qsizetype bodyEnd = nextBreak(view, start, lf, cr);
        qsizetype end = bodyEnd;
        if (end < n)
            end += view[end] == u'\r' && end + 1 < n && view[end + 1] == u'\n' ? 2 : 1;
        Line line;
        line.range = TextRange::fromBounds(start, end);
        line.body = TextRange::fromBounds(start, bodyEnd);
        line.ending = TextRange::fromBounds(bodyEnd, end);
        for (qsizetype j = start; j < bodyEnd && isBlank(view[j]); ++j) {
            line.columns = view[j] == u'\t' ? (line.columns / levelWidth + 1) * levelWidth : line.columns + 1;
            ++line.indentLength;
        }
        result.append(line);
        start = end;
    }
    return result;
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
    // The length of the new text so far.
    qsizetype position() const { return m_position; }
    QList<Piece> pieces() const { return m_pieces; }

private:
    QList<Piece> m_pieces;
    qsizetype m_position = 0;
};

// The index of the line holding the position; the last line for the end of
// the text. Needs at least one line.
qsizetype lineIndexAt(const QList<Line>& lines, qsizetype position)
{
    const auto after = std::upper_bound(lines.cbegin(), lines.cend(), position,
                                        [](qsizetype p, const Line& line) { return p < line.range.location; });
    return std::max<qsizetype>(after - lines.cbegin() - 1, 0);
}

// The text's lines, and the items that open them read only where a rule looks:
// a move looks at the lines around the caret, not at every item of the note.
class Outline {
public:
    explicit Outline(const QString& text) : m_lines(ListMovement::lines(text)), m_items(text) {}

    const QList<Line>& lines() const { return m_lines; }
    qsizetype size() const { return m_lines.size(); }
    const Line& operator[](qsizetype index) const { return m_lines[index]; }

    // The item opening the line.
    const ListSyntax::Item* item(qsizetype index) const
    {
        const std::optional<ListSyntax::Item>& found = m_items.opening(m_lines[index].range.location);
        return found ? &*found : nullptr;
    }

    // The line starting exactly at the position.
    std::optional<qsizetype> lineStarting(qsizetype position) const
    {
        if (m_lines.isEmpty())
            return std::nullopt;
        const qsizetype index = lineIndexAt(m_lines, position);
        return m_lines[index].range.location == position ? std::optional(index) : std::nullopt;
    }

    // The last line of the block of the item opening the line: the lines after
    // it indented deeper, up to the last non-blank one.
    qsizetype blockLast(qsizetype index) const
    {
        const qsizetype indentation = item(index)->indentation;
        qsizetype last = index;
        for (qsizetype j = index + 1; j < size(); ++j) {
            if (m_lines[j].isBlank())
                continue;
            if (m_lines[j].columns <= indentation)
                break;
            last = j;
        }
        return last;
    }

    TextRange block(qsizetype index) const
    {
        return TextRange::fromBounds(m_lines[index].range.location, m_lines[blockLast(index)].range.end());
    }

private:
    QList<Line> m_lines;
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

// The line a selection end is mapped through. The end of a non-empty selection
// goes with its last unit: whole lines selected with their line breaks must
// stay selected, not reach into the line that followed them.
qsizetype lineIndexOf(const QList<Line>& lines, TextRange selection, bool end)
{
    if (!end)
        return lineIndexAt(lines, selection.location);
    return lineIndexAt(lines, selection.isEmpty() ? selection.end() : selection.end() - 1);
}

// An offset past the whole old line break covers the whole new one, whatever
// their lengths, so that a CRLF is never split.
qsizetype endingOffset(const Line& line, qsizetype offset, qsizetype newEndingLength)
{
    const qsizetype intoEnding = offset - line.body.length;
    return offset == line.range.length ? newEndingLength : std::min(newEndingLength, intoEnding);
}

qsizetype mapPosition(const QList<Line>& lines, const QList<Placement>& placements, qsizetype index, qsizetype position)
{
    const Line& line = lines[index];
    const Placement& to = placements[index];
    const qsizetype offset = position - line.range.location;
    if (offset < line.indentLength)
        return to.start + std::min(to.indentWidth, offset);
    if (offset <= line.body.length)
        return to.start + to.indentWidth + (offset - line.indentLength);
    return to.start + to.bodyLength + endingOffset(line, offset, to.endingLength);
}

TextRange mapSelection(const QList<Line>& lines, const QList<Placement>& placements, TextRange selection)
{
    const qsizetype a = mapPosition(lines, placements, lineIndexOf(lines, selection, false), selection.location);
    const qsizetype b = mapPosition(lines, placements, lineIndexOf(lines, selection, true), selection.end());
    return TextRange::fromBounds(std::min(a, b), std::max(a, b));
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
    for (qsizetype j = move.first - 1; j >= 0 && shallowest > move.target; --j) {
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
    qsizetype next = lineIndexAt(lines.lines(), destination);
    while (next < lines.size() && (lines[next].isBlank() || lines[next].range.end() <= destination))
        ++next;
    if (next == lines.size())
        return destination;
    const auto isCandidate = [&](qsizetype j) {
        return lines.item(j) && !move.moves(j) && lines[j].columns >= move.target;
    };
    std::optional<qsizetype> outermost;
    if (lines[next].range.location < destination && isCandidate(next))
        outermost = next;
    qsizetype shallowest = lines[next].columns;
    for (qsizetype j = next - 1; j >= 0 && shallowest > move.target; --j) {
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
    for (qsizetype j = insertion - 1; j >= 0; --j) {
        if (move.moves(j) || lines[j].isBlank())
            continue;
        if (const ListSyntax::Item* item = lines.item(j))
            return item->indentation + levelWidth;
        if (lines[j].columns == 0)
            return 0;
    }
    return 0;
}

QStringView defaultEnding(const QString& text, const QList<Line>& lines)
{
    for (const Line& line : lines) {
        if (!line.ending.isEmpty())
            return QStringView(text).mid(line.ending.location, line.ending.length);
    }
    return u"\n";
}

// The old line indices in their new order.
QList<qsizetype> newOrder(qsizetype count, const Move& move, qsizetype insertion)
{
    QList<qsizetype> order;
    order.reserve(count);
    const auto append = [&](qsizetype from, qsizetype to) {
        for (qsizetype j = from; j < to; ++j)
            order.append(j);
    };
    if (insertion <= move.first) {
        append(0, insertion);
        append(move.first, move.end);
        append(insertion, move.first);
        append(move.end, count);
    } else {
        append(0, move.first);
        append(move.end, insertion);
        append(move.first, move.end);
        append(insertion, count);
    }
    return order;
}

Plan assemble(const QString& text, const QList<Line>& lines, const Move& move, const QList<qsizetype>& order,
              qsizetype delta, TextRange selection)
{
    const QStringView fallbackEnding = defaultEnding(text, lines);
    const QStringView lastEnding = QStringView(text).mid(lines.back().ending.location, lines.back().ending.length);
    QList<Placement> placements(lines.size());
    PieceWriter writer;
    for (qsizetype k = 0; k < order.size(); ++k) {
        const Line& line = lines[order[k]];
        Placement& placement = placements[order[k]];
        placement.start = writer.position();
        if (move.moves(order[k]) && !line.isBlank() && delta != 0) {
            placement.indentWidth = std::max<qsizetype>(line.columns + delta, 0);
            writer.write(QString(placement.indentWidth, u' '));
            writer.copy(line.afterIndent());
        } else {
            placement.indentWidth = line.indentLength;
            writer.copy(line.body);
        }
        placement.bodyLength = writer.position() - placement.start;

        const QStringView oldEnding = QStringView(text).mid(line.ending.location, line.ending.length);
        const QStringView ending = k == order.size() - 1 ? lastEnding
            : oldEnding.isEmpty()                        ? fallbackEnding
                                                         : oldEnding;
        if (ending == oldEnding)
            writer.copy(line.ending);
        else
            writer.write(ending.toString());
        placement.endingLength = ending.size();
    }
    Plan plan;
    plan.pieces = writer.pieces();
    plan.selection = mapSelection(lines, placements, selection);
    const Placement& first = placements[move.first];
    const Placement& last = placements[move.end - 1];
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
    const auto at = std::lower_bound(lines.lines().cbegin(), lines.lines().cend(), destination,
                                     [](const Line& line, qsizetype d) { return line.range.location < d; });
    qsizetype insertion = at - lines.lines().cbegin();
    if (move.moves(insertion))
        insertion = move.end;
    const qsizetype indentation = std::min(move.target, maximumIndentation(lines, move, insertion));
    // Back into its own place at its own level: the text would not change.
    if ((insertion == move.first || insertion == move.end) && indentation == item.indentation)
        return std::nullopt;

    const QList<qsizetype> order = newOrder(lines.size(), move, insertion);
    Plan plan = assemble(text, lines.lines(), move, order, indentation - item.indentation, selection);
    if (plan.replacement(text) == text)
        return std::nullopt;
    plan.indentation = indentation;
    plan.destination = destination;
    return plan;
}

// ---- Plain line moves ----

// Two neighbouring lines swap their texts; each place keeps its own line
// break, so a missing final break stays missing.
std::optional<Plan> plainLinePlan(const QString& text, QList<Line> all, TextRange selection, bool down)
{
    if (all.isEmpty())
        return std::nullopt;
    if (!all.back().ending.isEmpty()) {
        Line empty;
        empty.range = empty.body = empty.ending = TextRange{text.size(), 0};
        all.append(empty);
    }
    const qsizetype i = lineIndexAt(all, selection.location);
    const qsizetype j = down ? i + 1 : i - 1;
    if (j < 0 || j >= all.size())
        return std::nullopt;

    QList<qsizetype> order(all.size());
    for (qsizetype k = 0; k < all.size(); ++k)
        order[k] = k;
    std::swap(order[i], order[j]);

    PieceWriter writer;
    QList<qsizetype> newStart(all.size());   // by old line index
    for (qsizetype k = 0; k < all.size(); ++k) {
        newStart[order[k]] = writer.position();
        writer.copy(all[order[k]].body);
        writer.copy(all[k].ending);
    }
    Plan plan;
    plan.pieces = writer.pieces();
    const auto map = [&](bool end) {
        const qsizetype index = lineIndexOf(all, selection, end);
        const qsizetype place = index == i ? j : index == j ? i : index;
        const Line& line = all[index];
        const qsizetype offset = (end ? selection.end() : selection.location) - line.range.location;
        if (offset <= line.body.length)
            return newStart[index] + offset;
        return newStart[index] + line.body.length + endingOffset(line, offset, all[place].ending.length);
    };
    const qsizetype a = map(false);
    const qsizetype b = map(true);
    plan.selection = TextRange::fromBounds(std::min(a, b), std::max(a, b));
    plan.indentation = all[i].columns;
    plan.destination = all[j].range.location;
    plan.movedRange = {newStart[i], all[i].body.length};
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
        for (qsizetype j = lines.blockLast(itemLine) + 1; j < lines.size(); ++j) {
            if (isTarget(j))
                return lines.block(j).end();
        }
        return std::nullopt;
    }
    for (qsizetype j = itemLine - 1; j >= 0; --j) {
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
    const Outline lines(text);
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
    for (qsizetype j = 0; j < lines.size(); ++j) {
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
    const Outline lines(text);
    const std::optional<qsizetype> index = lines.lineStarting(item.line.location);
    return index && lines.item(*index) ? lines.block(*index) : item.line;
}

std::optional<Plan> plan(const QString& text, const ListSyntax::Item& item, qsizetype destination, int indentSteps,
                         TextRange selection)
{
    if (!isValid(text, selection) || destination < 0 || destination > text.size())
        return std::nullopt;
    const Outline lines(text);
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
    const Outline lines(text);
    const std::optional<qsizetype> index = lines.lineStarting(TextLines::lineRange(text, selection.location).location);
    if (!index || !lines.item(*index))
        return plainLinePlan(text, lines.lines(), selection, down);
    const std::optional<qsizetype> destination = keyboardDestination(lines, *index, down);
    if (!destination)
        return std::nullopt;
    return planBlockMove(text, lines, *index, *destination, 0, selection);
}

} // namespace ListMovement
} // namespace quillor
