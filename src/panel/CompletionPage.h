#pragma once

namespace quillor {

// How many leading completion rows the list renders: a page of 20 at first,
// more as the user scrolls or moves the selection further. It only shrinks
// back for a new list.
struct CompletionPage {
    static constexpr int size = 20;

    int limit = size;

    // The rows rendered out of `count`.
    int rows(int count) const { return limit < count ? limit : count; }
    // A new list: back to the first page.
    void reset() { limit = size; }
    // The last rendered row came into view: one more page, up to `count`.
    void rowAppeared(int row, int count);
    // The selection moved to `index`: the page holding it is rendered.
    void reveal(int index, int count);

    bool operator==(const CompletionPage&) const = default;
};

} // namespace quillor
