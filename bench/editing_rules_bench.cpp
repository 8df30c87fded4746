// The editing rules answer on every key press, so each must stay far below a
// frame: every rule runs on a 20,000-character capture of mixed Markdown with
// the caret at several places. Prints the slowest rule in microseconds (the aim
// is under 100 µs) and as a ratio to one plain pass over the text (counting
// line breaks), measured in the same run.
//
// To add rules, append rows to rules(): each row is a name and a lambda of
// (text, selection).
#include "editing/EditorBehavior.h"
#include "editing/EditorCommands.h"
#include "editing/ListMovement.h"
#include "editing/ListSyntax.h"

#include <QString>

#include "MeanTimes.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace quillor;

const QString& capture()
{
    static const QString text = [] {
        const QString block = QStringLiteral(
            "# Réunion du lundi\n\n"
            "Notes prises avec **Marie** et _Paul_ (voir [[Projets/Quillor|le projet]]) et #travail.\n"
            "- [ ] relire la `spécification` avant ==jeudi==\n"
            "- [x] envoyer le lien https://example.org/docs?x=1\n"
            "    1. sous-point avec ~~rature~~ et *emphase* \"citée\"\n"
            "> Une citation\n> > imbriquée avec #idée\n\n"
            "```cpp\nint main() { return 0; } // (pas une paire)\n```\n"
            "\tTexte libre, l’été 😀 et {accolades} [crochets].\r\n\n");
        QString text;
        while (text.size() < 20000)
            text += block;
        return text.left(20000);
    }();
    return text;
}

struct Place {
    const char* name;
    TextRange selection;
};

// The caret right after the marker of the task item nearest the middle: the
// place where Return, Backspace and the task shorthand all have work to do.
qsizetype middleOfList()
{
    const QString& text = capture();
    const qsizetype item = text.indexOf(QStringLiteral("\n- [ ] "), text.size() / 2);
    return item + 7;
}

const std::vector<Place>& places()
{
    static const std::vector<Place> all{
        {"start", {0, 0}},
        {"list", {middleOfList(), 0}},
        {"selection", {middleOfList(), 6}},
        {"end", {capture().size(), 0}},
    };
    return all;
}

// The list item of the middle of the text, dragged by the list-movement rows.
const ListSyntax::Item& middleItem()
{
    static const ListSyntax::Item item = [] {
        const QList<ListSyntax::Item> items = ListSyntax::items(capture());
        for (const ListSyntax::Item& candidate : items) {
            if (candidate.line.end() >= middleOfList())
                return candidate;
        }
        return items.back();
    }();
    return item;
}

struct Rule {
    const char* name;
    std::function<void(const QString&, TextRange)> run;
};

const std::vector<Rule>& rules()
{
    namespace E = EditorBehavior;
    static const std::vector<Rule> all{
        {"newlinePlan", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::newlinePlan(t, s)); }},
        {"newlineEdit", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::newlineEdit(t, s)); }},
        {"backspaceRange", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::backspaceRange(t, s)); }},
        {"indent", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::indentationPlan(t, s, false)); }},
        {"outdent", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::indentationPlan(t, s, true)); }},
        {"pairedInput(", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::pairedInput(t, s, "(")); }},
        {"pairedInput*", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::pairedInput(t, s, "*")); }},
        {"pairedInput`", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::pairedInput(t, s, "`")); }},
        {"pairedInput)", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::pairedInput(t, s, ")")); }},
        {"taskShorthand", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::taskShorthand(t, s)); }},
        {"completionIndex", [](const QString&, TextRange s) {
             benchmark::DoNotOptimize(E::completionIndex(int(s.location), -1, 12));
         }},
        {"command:wiki", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::wiki, t, s)); }},
        {"command:task", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::task, t, s)); }},
        {"command:bullet", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::bullet, t, s)); }},
        {"command:bold", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::bold, t, s)); }},
        {"command:code", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::code, t, s)); }},
        {"command:codeBlock", [](const QString& t, TextRange s) {
             benchmark::DoNotOptimize(E::command(E::Command::code, t, {s.location, std::min<qsizetype>(60, t.size() - s.location)}));
         }},
        {"command:heading", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::heading, t, s)); }},
        {"command:quote", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(E::command(E::Command::quote, t, s)); }},
        {"listStyleCycle", [](const QString& t, TextRange s) {
             E::ListStyleCycle cycle;
             benchmark::DoNotOptimize(cycle.advance(t, s));
         }},
        {"moveUp", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(ListMovement::commandPlan(t, s, false)); }},
        {"moveDown", [](const QString& t, TextRange s) { benchmark::DoNotOptimize(ListMovement::commandPlan(t, s, true)); }},
        // A third of the text away from the place, one level in.
        {"dragItem", [](const QString& t, TextRange s) {
             benchmark::DoNotOptimize(ListMovement::plan(t, middleItem(), (s.location + t.size() / 3) % t.size(), 1, s));
         }},
    };
    return all;
}

const char* const baselineName = "baselinePlainPass";

void baselinePlainPass(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(capture().count(u'\n'));
}
BENCHMARK(baselinePlainPass);

void registerRules(std::vector<std::string>& names)
{
    for (const Rule& rule : rules()) {
        for (const Place& place : places()) {
            names.push_back(std::string(rule.name) + "/" + place.name);
            benchmark::RegisterBenchmark(names.back().c_str(), [&rule, &place](benchmark::State& state) {
                for (auto _ : state)
                    rule.run(capture(), place.selection);
            });
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> names;
    names.reserve(rules().size() * places().size());
    registerRules(names);
    bench::MeanTimes times;
    if (!bench::runBenchmarks(argc, argv, times))
        return 1;

    const double baseline = times.of(baselineName);
    std::string slowest;
    double slowestTime = 0;
    for (const auto& [name, time] : times.all()) {
        if (name != baselineName && time > slowestTime) {
            slowest = name;
            slowestTime = time;
        }
    }
    if (slowest.empty())
        return 0;
    std::printf("slowest rule: %s, %.1f µs on %lld characters (%.0f× one plain pass over the text; aim < 100 µs)\n",
                slowest.c_str(), slowestTime * 1e6, static_cast<long long>(capture().size()),
                baseline > 0 ? slowestTime / baseline : 0.0);
    return 0;
}
