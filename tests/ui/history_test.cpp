#include "ui/history.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ui/window_fixture.h"

namespace rs::ui {
namespace {

using namespace engine;  // parameter indices
using test::WindowFixture;

// Distinct states for the history alone.
Snapshot StateNumber(int n) {
    Snapshot s;
    s.cocCustom = static_cast<float>(n);
    return s;
}

TEST(History, KeepsTheNewestTwoHundredStepsAndWalksToTheOldestKept) {
    History h;
    for (int n = 1; n <= 250; ++n) h.Record(std::to_string(n), StateNumber(n - 1), StateNumber(n));
    ASSERT_EQ(h.Rows(), static_cast<int>(History::kMaxSteps) + 1);
    EXPECT_EQ(h.Steps().front().name, "51");
    EXPECT_EQ(h.StateOfRow(0), StateNumber(50));
    int back = 0;
    while (h.Back()) ++back;
    EXPECT_EQ(back, 200);
    EXPECT_EQ(h.Current(), 0);
    EXPECT_EQ(h.Forward(), StateNumber(51));
}

// The window's history against a model of its own: a random run of typed values, slider moves,
// walks back and forward, presses of the undo button (an exchange that is a step of its own) and
// picks from the list. After every operation the design must be the state the model expects.
struct Model {
    std::vector<Snapshot> rows;
    int current = 0;
    std::optional<Snapshot> backup;
    int sliderRun = -1;  // slider of the run the newest step belongs to

    void Step(const Snapshot& before, const Snapshot& after) {
        rows.resize(static_cast<std::size_t>(current) + 1);
        rows.push_back(after);
        if (rows.size() > History::kMaxSteps + 1) rows.erase(rows.begin());
        current = static_cast<int>(rows.size()) - 1;
        backup = before;
    }
    const Snapshot& Expected() const { return rows[static_cast<std::size_t>(current)]; }
};

TEST(History, RandomRunMatchesAModel) {
    WindowFixture f;
    MainWindow& w = f.w();
    f.Lens();
    Model m;
    // The model starts from what the set-up left behind.
    for (int row = 0; row < f.s().history.Rows(); ++row)
        m.rows.push_back(*f.s().history.StateOfRow(row));
    m.current = f.s().history.Current();
    m.backup = f.s().backup.Backup();
    ASSERT_EQ(Capture(f.s().design), m.Expected());

    std::mt19937 rng(20260712);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const std::vector<std::vector<const char*>> values = {{"80", "95", "100", "120", "140"},
                                                          {"-150", "-200", "-260", "-320"},
                                                          {"5", "10", "15", "20"}};
    for (int op = 0; op < 1000; ++op) {
        SCOPED_TRACE(op);
        const Snapshot before = Capture(f.s().design);
        const int kind = pick(6);
        // A value or slider on a design without it changes nothing and takes no step.
        if (kind == 0) {  // a typed value
            const int slot = pick(3);
            const auto& choices = values[static_cast<std::size_t>(slot)];
            w.ApplyTypedValue(
                slot, choices[static_cast<std::size_t>(pick(static_cast<int>(choices.size())))]);
            if (Capture(f.s().design) == before) continue;
            m.Step(before, Capture(f.s().design));
            m.sliderRun = -1;
        } else if (kind == 1) {  // a slider
            const int slot = pick(3);
            w.ApplyPosition(slot, pick(kSliderMax + 1));
            if (Capture(f.s().design) == before) continue;
            if (m.sliderRun == slot && m.current + 1 == static_cast<int>(m.rows.size())) {
                m.rows.back() = Capture(f.s().design);
            } else {
                m.Step(before, Capture(f.s().design));
            }
            m.sliderRun = slot;
        } else if (kind == 2 || kind == 3) {  // Ctrl+Z, Ctrl+Y
            const bool back = kind == 2;
            w.Walk(back ? HistoryWalk::Back : HistoryWalk::Forward);
            const int next = m.current + (back ? -1 : 1);
            if (next >= 0 && next < static_cast<int>(m.rows.size())) {
                m.current = next;
                m.backup = before;
                m.sliderRun = -1;
            }
        } else if (kind == 4) {  // the undo button
            w.Undo();
            if (m.backup) {
                const Snapshot restored = *m.backup;
                m.Step(before, restored);
                m.sliderRun = -1;
            }
        } else {  // a click in the list
            const int row = pick(static_cast<int>(m.rows.size()));
            w.PickHistoryRow(row);
            if (!(m.rows[static_cast<std::size_t>(row)] == before)) {
                const Snapshot picked = m.rows[static_cast<std::size_t>(row)];
                m.Step(before, picked);
                m.sliderRun = -1;
            }
        }
        ASSERT_EQ(Capture(f.s().design), m.Expected());
        ASSERT_EQ(f.s().history.Current(), m.current);
        ASSERT_EQ(f.s().history.Rows(), static_cast<int>(m.rows.size()));
    }
    // The run went past the bound of the history.
    EXPECT_EQ(m.rows.size(), History::kMaxSteps + 1);
}

TEST(History, ASliderRunAndADragAreOneStepEach) {
    WindowFixture f;
    MainWindow& w = f.w();
    f.Lens();
    const int rows = f.s().history.Rows();
    for (int pos = 51; pos <= 90; ++pos) w.ApplyPosition(0, pos);
    ASSERT_EQ(f.s().history.Rows(), rows + 1);
    EXPECT_EQ(f.s().history.Steps().back().name, "Brennweite: f' 100.0mm → 108.0mm");

    const Snapshot atMouseDown = Capture(f.s().design);
    ASSERT_TRUE(w.BeginDrag());
    std::optional<Snapshot> before = atMouseDown;
    for (int move = 1; move <= 5; ++move) {
        w.DragChange(before, [](app::DesignState& d) {
            d.paraxial.params.Entry(*d.paraxial.params.Find(kObjDist)).sVarValue -= 1.0f;
            return true;
        });
    }
    w.EndDrag({});
    ASSERT_EQ(f.s().history.Rows(), rows + 2);
    EXPECT_EQ(f.s().history.Steps().back().name, "Zeichnung gezogen: a");
    w.Walk(HistoryWalk::Back);
    EXPECT_EQ(Capture(f.s().design), atMouseDown);
}

TEST(History, StepsAreNamedAfterWhatTheyChanged) {
    using Act = std::function<void(WindowFixture&)>;
    const struct {
        Act act;
        const char* name;
    } cases[] = {
        {[](WindowFixture& f) { f.Type(kFocal, "60"); }, "Brennweite: f' 100.0mm → 60.0mm"},
        {[](WindowFixture& f) { f.w().ApplyUpperLimit(0, "130"); },
         "Brennweite: f' oberer Grenzwert 110.0mm → 130.0mm"},
        {[](WindowFixture& f) { f.w().SetParamChecked(kObjHeight, false); }, "Auswahl: −u"},
        {[](WindowFixture& f) { f.w().ChooseMirrorMode(1); }, "Spiegelsystem"},
        {[](WindowFixture& f) { f.w().SetListOption(0, true); }, "Konstruktionsstrahlen: an"},
        {[](WindowFixture& f) { f.w().Clear(); }, "Löschen"},
        {[](WindowFixture& f) { f.w().Recall(); }, "Gespeichertes System geladen"},
        {[](WindowFixture& f) { f.w().PickHistoryRow(0); }, "Zurück zu: Anfang"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        f.Lens();
        c.act(f);
        ASSERT_FALSE(f.s().history.Steps().empty());
        EXPECT_EQ(f.s().history.Steps().back().name, c.name);
        EXPECT_EQ(f.View("lstHistory").items.back(), c.name);
    }
}

}  // namespace
}  // namespace rs::ui
