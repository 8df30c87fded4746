#include "model/ModelTypes.h"

#include "../core/TestSupport.h"

using namespace quillor;

// The fixed labels are plain texts; only those computed from a value are pinned.
TEST(ModelTypesTest, ComputedStateLabels)
{
    const std::pair<QString, QString> cases[] = {
        {IndexState::ready(0).label(), "Dossier sans note Markdown"},
        {IndexState::ready(3).label(), "Aucun résultat"},
        // The message is an argument, never a format of its own.
        {IndexState::failed("100 %@ %d").label(), "Dossier inaccessible : 100 %@ %d"},
        {DraftState::failed("Le disque est plein.").label(), "Le disque est plein."},
    };
    for (const auto& [label, expected] : cases)
        EXPECT_EQ(label, expected);
}

TEST(ModelTypesTest, EveryComputedCompletionRowHasItsOwnIdentity)
{
    const auto rows = [] { return QList<Completion>{{"Note", "dossier/Note.md", "[[Note]]"}, {"Note", "", "[[Note]]"}}; };
    const QList<Completion> first = rows();
    EXPECT_NE(first[0].id, first[1].id);
    EXPECT_NE(first, rows());
}
