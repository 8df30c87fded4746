#include "model/ModelTypes.h"

#include "../core/TestSupport.h"

using namespace quillor;

TEST(ModelTypesTest, StateLabels)
{
    const std::pair<QString, QString> cases[] = {
        {IndexState().label(), "Choisis un dossier de notes"},
        {IndexState::loading().label(), "Indexation…"},
        {IndexState::ready(0).label(), "Dossier sans note Markdown"},
        {IndexState::ready(3).label(), "Aucun résultat"},
        // The message is an argument, never a format of its own.
        {IndexState::failed("100 %@ %d").label(), "Dossier inaccessible : 100 %@ %d"},
        {DraftState::empty().label(), "Brouillon vide"},
        {DraftState::pending().label(), "Sauvegarde en cours…"},
        {DraftState::saved().label(), "Sauvegardé localement"},
        {DraftState::restored().label(), "Brouillon restauré"},
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
