#include "undo/ActionUndoRedo_Stack.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

enum class Op { Push, Pop, Redo, Retrive, Reset };

// One step of a script: the op, the record it pushes or is expected to return
// ("" = no record), and the menu items' visibility afterwards where it matters.
struct Step {
    Op op;
    std::string record;
    std::optional<bool> undoVisible = std::nullopt;
    std::optional<bool> redoVisible = std::nullopt;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
};

class Script {
public:
    Script() {
        stack.setMenuHooks({[this](bool v) { undo = v; }, [this](bool v) { redo = v; }});
    }

    void run(const Case& c) {
        int n = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(std::string(c.name) + ", step " + std::to_string(++n));
            switch (s.op) {
            case Op::Push: {
                auto r = std::make_unique<ActionUndoRedo>();
                r->ActionType = 9;  // holds no action
                names[r.get()] = s.record;
                stack.Push(std::move(r));
                break;
            }
            case Op::Pop: EXPECT_EQ(nameOf(stack.Pop()), s.record); break;
            case Op::Redo: EXPECT_EQ(nameOf(stack.GetRedoObj()), s.record); break;
            case Op::Retrive: EXPECT_EQ(nameOf(stack.Retrive()), s.record); break;
            case Op::Reset: stack.Reset(); break;
            }
            if (s.undoVisible) {
                EXPECT_EQ(undo, *s.undoVisible) << "Undo item";
            }
            if (s.redoVisible) {
                EXPECT_EQ(redo, *s.redoVisible) << "Redo item";
            }
        }
    }

    ActionUndoRedo_Stack stack;
    bool undo = true, redo = true;  // neither hidden nor shown yet

private:
    std::string nameOf(ActionUndoRedo* r) {
        if (!r) return "";
        auto it = names.find(r);
        return it == names.end() ? "?" : it->second;
    }
    std::map<const ActionUndoRedo*, std::string> names;
};

TEST(ActionUndoRedoStack, ScriptsOfPushPopAndRedo) {
    const Case cases[] = {
        {"fresh stack",
         {{Op::Retrive, ""}, {Op::Pop, "", false}, {Op::Redo, "", false, false}, {Op::Retrive, ""}}},
        {"four pushes keep the newest three",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Push, "C"}, {Op::Push, "D", true, false},
          {Op::Pop, "D"}, {Op::Pop, "C"}, {Op::Pop, "B", false, true}, {Op::Pop, "", false}}},
        {"undo everything, then redo everything",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Pop, "B", true, true}, {Op::Pop, "A", false, true},
          {Op::Pop, "", false}, {Op::Redo, "A", true, true}, {Op::Redo, "B", true, false},
          {Op::Redo, "", true, false}}},
        {"a push after an undo drops the redo part",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Push, "C"}, {Op::Pop, "C"}, {Op::Push, "D", true, false},
          {Op::Redo, ""}, {Op::Pop, "D"}, {Op::Pop, "B"}, {Op::Pop, "A", false}, {Op::Pop, ""}}},
        {"a push after undoing all keeps only the new record",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Push, "C"}, {Op::Pop, "C"}, {Op::Pop, "B"}, {Op::Pop, "A"},
          {Op::Push, "D", true, false}, {Op::Pop, "D", false}, {Op::Pop, ""}}},
        {"redo with nothing to redo, twice, then undo and push",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Redo, "", true, false}, {Op::Redo, ""},
          {Op::Retrive, "B"}, {Op::Pop, "B"}, {Op::Push, "C"}, {Op::Pop, "C"}, {Op::Pop, "A"}}},
        {"redo attempts on an empty history",
         {{Op::Redo, ""}, {Op::Redo, ""}, {Op::Retrive, ""}, {Op::Pop, "", false}, {Op::Push, "A"},
          {Op::Retrive, "A"}}},
        {"retrive follows the cursor",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Retrive, "B"}, {Op::Pop, "B"}, {Op::Retrive, "A"},
          {Op::Pop, "A"}, {Op::Retrive, ""}, {Op::Redo, "A"}, {Op::Retrive, "A"}}},
        {"reset empties the history and leaves the menu alone",
         {{Op::Push, "A"}, {Op::Push, "B"}, {Op::Push, "C"}, {Op::Pop, "C", true, true}, {Op::Reset, "", true, true},
          {Op::Retrive, ""}, {Op::Redo, ""}, {Op::Pop, "", false}, {Op::Push, "D"}, {Op::Pop, "D"}}},
    };
    for (const Case& c : cases) Script().run(c);
}

TEST(ActionUndoRedoStack, HoldsAnyRecordSeesUndoneRecordsToo) {
    Script s;
    EXPECT_FALSE(s.stack.HoldsAnyRecord());
    s.run({"one record", {{Op::Push, "A"}}});
    EXPECT_TRUE(s.stack.HoldsAnyRecord());
    s.run({"undone", {{Op::Pop, "A"}}});
    EXPECT_EQ(s.stack.Retrive(), nullptr);
    EXPECT_TRUE(s.stack.HoldsAnyRecord());
    s.run({"reset", {{Op::Reset, ""}}});
    EXPECT_FALSE(s.stack.HoldsAnyRecord());
}

}  // namespace
