// Events the forms' registry dispatches: a form unloaded by its own handler,
// and handlers that throw.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/form_registry.h"

using namespace vollo;

TEST(FormRegistry, AFormUnloadedByItsOwnHandlerIsDeletedOnlyOnceTheEventIsOver) {
    struct Watched : Form {  // says when it is deleted
        Watched(FormRegistry& registry, bool& deleted)
            : Form(registry, "frmWatched"),
              deleted_(deleted) {}
        ~Watched() override { deleted_ = true; }
        bool& deleted_;
    };
    FormRegistry registry{Services{}};
    bool deleted = false, deletedInsideHandler = true;
    registry.declare("frmWatched", [&](FormRegistry& r) {
        auto form = std::make_unique<Watched>(r, deleted);
        form->on("cmdOK_Click", [&r, &deleted, &deletedInsideHandler](EventArgs&) {
            r.unload("frmWatched");
            deletedInsideHandler = deleted;
        });
        return form;
    });
    Form& form = registry.touch("frmWatched");
    EXPECT_TRUE(registry.dispatch([&] { form.call("cmdOK_Click"); }));
    EXPECT_FALSE(deletedInsideHandler);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(registry.isLoaded("frmWatched"));
}

TEST(FormRegistry, AThrowingHandlerIsReportedAndTheNextEventRuns) {
    std::vector<std::string> reported;
    const auto previous =
        FormRegistry::setFailureSink([&](const std::string& what) { reported.push_back(what); });
    FormRegistry registry{Services{}};
    EXPECT_TRUE(registry.dispatch([] { throw std::out_of_range("row 7"); }));
    EXPECT_TRUE(registry.dispatch([] { throw 7; }));
    bool ran = false;
    EXPECT_TRUE(registry.dispatch([&] {
        ran = true;
        EXPECT_FALSE(registry.dispatch([] {}));  // no event inside another
    }));
    FormRegistry::setFailureSink(previous);
    EXPECT_TRUE(ran);
    ASSERT_EQ(reported.size(), 2u);
    EXPECT_EQ(reported[0], "row 7");
}
