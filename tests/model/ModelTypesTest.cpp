#include "model/ModelTypes.h"

#include "../core/TestSupport.h"

using namespace quillor;

TEST(ModelTypesTest, IndexStateLabels)
{
    const std::pair<IndexState, QString> cases[] = {
        {IndexState(), "Choisis un dossier de notes"},
        {IndexState::loading(), "Indexation…"},
        {IndexState::ready(0), "Dossier sans note Markdown"},
        {IndexState::ready(3), "Aucun résultat"},
        {IndexState::failed("x"), "Dossier inaccessible : x"},
        // The message is an argument, never a format of its own.
        {IndexState::failed("100 %@ %d"), "Dossier inaccessible : 100 %@ %d"},
    };
    for (const auto& [state, label] : cases)
        EXPECT_EQ(state.label(), label);
}

TEST(ModelTypesTest, StatesCompareByCaseAndPayload)
{
    EXPECT_EQ(DraftState::failed("a"), DraftState::failed("a"));
    EXPECT_NE(DraftState::failed("a"), DraftState::failed("b"));
    EXPECT_NE(DraftState::failed(""), DraftState::empty());
    EXPECT_EQ(DraftState(), DraftState::empty());
    EXPECT_NE(IndexState::ready(0), IndexState::ready(1));
    EXPECT_NE(IndexState::ready(0), IndexState::idle());
    EXPECT_NE(IndexState::failed(""), IndexState::idle());
}

TEST(ModelTypesTest, DraftStateLabels)
{
    const std::pair<DraftState, QString> cases[] = {
        {DraftState::empty(), "Brouillon vide"},
        {DraftState::pending(), "Sauvegarde en cours…"},
        {DraftState::saved(), "Sauvegardé localement"},
        {DraftState::restored(), "Brouillon restauré"},
        {DraftState::failed("Le disque est plein."), "Le disque est plein."},
    };
    for (const auto& [state, label] : cases)
        EXPECT_EQ(state.label(), label);
}

TEST(ModelTypesTest, EveryComputedCompletionRowHasItsOwnIdentity)
{
    const auto rows = [] { return QList<Completion>{{"Note", "dossier/Note.md", "[[Note]]"}, {"Note", "", "[[Note]]"}}; };
    const QList<Completion> first = rows();
    const QList<Completion> second = rows();
    EXPECT_NE(first[0].id, first[1].id);
    EXPECT_NE(first[0].id, second[0].id);
    EXPECT_FALSE(first[0].id.isNull());
    EXPECT_NE(first, second);
}
