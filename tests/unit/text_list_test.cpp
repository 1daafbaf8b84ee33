// Text lists: random edits against a vector, shared copies untouched, places
// outside the buffer refused; the view's key table keeps slots a longer view left.
#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "forms/library_keys.h"
#include "platform/text_column.h"
#include "platform/text_list.h"

namespace vollo {
namespace {

TEST(TextListTest, EditsMatchAVectorAndNeverReachSharedCopies) {
    std::mt19937 random(7);
    std::vector<std::string> model;
    for (int i = 0; i < 600; ++i) {
        model.push_back(
            std::string(static_cast<std::size_t>(random() % 1500), static_cast<char>('a' + i % 26)) +
            std::to_string(i));
    }
    TextList list(model);
    std::vector<std::pair<TextList, std::vector<std::string>>> snapshots;
    for (int step = 0; step < 3000; ++step) {
        const std::size_t n = model.size();
        // Mostly erases, so that unused bytes pile up and are given back.
        const auto pick = random() % 200;
        if (pick < 2) {  // insert anywhere
            const std::size_t at = random() % (n + 1);
            const std::string text = "new" + std::to_string(step);
            list.insert(at, text);
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), text);
        } else if (pick ==
                   2) {  // continue on a slice (rarely: a shared list starts counting unused bytes afresh)
            const std::size_t first = random() % (n + 1);
            const std::size_t count = random() % (n - first + 1);
            snapshots.emplace_back(list, model);
            list = list.slice(first, count);
            model = std::vector<std::string>(model.begin() + static_cast<std::ptrdiff_t>(first),
                                             model.begin() + static_cast<std::ptrdiff_t>(first + count));
        } else if (pick == 3) {  // continue on a reordering that repeats and drops rows
            std::vector<int> order;
            std::vector<std::string> picked;
            for (std::size_t k = 0; k < n; ++k) {
                const auto row = static_cast<int>(random() % n);
                order.push_back(row);
                picked.push_back(model[static_cast<std::size_t>(row)]);
            }
            snapshots.emplace_back(list, model);
            list = list.picked(order);
            model = std::move(picked);
        } else if (pick == 4) {  // append a shared copy of itself
            snapshots.emplace_back(list, model);
            list.append(snapshots.back().first);
            model.insert(model.end(), snapshots.back().second.begin(), snapshots.back().second.end());
        } else if (n > 0) {
            const std::size_t at = random() % n;
            list.erase(at);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (model.size() > 2000 || model.size() < 50) {
            list = TextList(model);
        }
        ASSERT_EQ(list.size(), model.size()) << "step " << step;
    }
    EXPECT_EQ(list.strings(), model);
    for (const auto& [copy, expected] : snapshots) {
        ASSERT_EQ(copy.strings(), expected);
    }
}

// Rows may stand anywhere in their buffer but never outside it.
TEST(TextListTest, ListAndColumnRefusePlacesOutsideTheirBuffer) {
    auto bytes = std::make_shared<const std::string>("abcdef");
    EXPECT_NO_THROW(TextList(bytes, {{0, 6}, {6, 0}, {2, 3}}));
    for (const TextList::Span bad :
         {TextList::Span{7, 0}, TextList::Span{4, 3}, TextList::Span{1, UINT32_MAX}}) {
        EXPECT_THROW(TextList(bytes, {bad}), std::out_of_range);
    }
    EXPECT_THROW(TextList(bytes, {{0, 6}}).slice(1, 1), std::out_of_range);
    TextColumn column("zedalphaSONG", {{8, 4}, {3, 4}, {0, 3}, {3, 0}});
    column.push_back("\xC3\xA9t\xC3\xA9");
    ASSERT_EQ(column.size(), 5u);
    EXPECT_EQ(
        (std::vector<std::string>{std::string(column[0]), std::string(column[1]), std::string(column[2]),
                                  std::string(column[3]), std::string(column[4])}),
        (std::vector<std::string>{"SONG", "alph", "zed", "", "\xC3\xA9t\xC3\xA9"}));
    EXPECT_THROW(TextColumn("abc", {{2, 2}}), std::out_of_range);
    EXPECT_THROW(TextColumn("abc", {{4, 0}}), std::out_of_range);
}

TEST(VisibleKeysTest, SlotsPastTheViewKeepWhatALongerViewLeft) {
    std::vector<EntryKey> entries;
    for (int i = 0; i < 10; ++i) {
        entries.push_back({"f" + std::to_string(i) + "|x.mp3", "/d" + std::to_string(i % 3) + "|/"});
    }
    const LibraryKeys keys(entries);
    const LibraryKeys other({{"o.mp3", "/o/"}, {"p.mp3", "/o/"}});
    ASSERT_EQ(keys[4], entries[4]);  // a "|" in the name and in the folder stays in its part

    // Each step shows rows and gives every slot after it ("p": other's row 1).
    const auto key = [](char row) {
        return row == 'p' ? std::string("p.mp3/o/")
                          : "f" + std::string(1, row) + "|x.mp3/d" + std::to_string((row - '0') % 3) + "|/";
    };
    const struct {
        const LibraryKeys* keys;
        std::vector<std::size_t> rows;  // empty: the run first..last
        std::size_t first, last;
        std::string expected;
    } steps[] = {{&keys, {}, 2, 7, "23456"},        {&keys, {}, 8, 10, "89456"},
                 {&keys, {}, 3, 3, "89456"},        {&other, {1}, 0, 0, "p9456"},
                 {&keys, {0, 9, 1}, 0, 0, "09156"}, {&keys, {}, 0, 6, "012345"}};
    VisibleKeys slots;
    for (const auto& step : steps) {
        step.rows.empty() ? slots.show(*step.keys, step.first, step.last - step.first)
                          : slots.show(*step.keys, step.rows);
        std::vector<std::string> seen, expected;
        for (std::size_t k = 0; k < slots.size(); ++k) {
            seen.push_back(slots[k].file + slots[k].dir);
        }
        for (const char row : step.expected) {
            expected.push_back(key(row));
        }
        EXPECT_EQ(seen, expected) << step.expected;
    }
    EXPECT_THROW(slots[6], std::out_of_range);
}

}  // namespace
}  // namespace vollo
