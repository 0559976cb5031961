#include "WriteBursts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {
using namespace std::chrono_literals;

// What happens at a moment (milliseconds after the start): a file is written ('w'), a finished
// change of it arrives ('f'), or time only passes ('t'); and the files reported then.
struct Step
{
    int ms;
    char what;
    std::string file;
    std::vector<std::string> reported;
};

struct Scenario
{
    std::string name;
    std::vector<Step> steps;
};

QUrl urlOf(const std::string& file)
{
    return QUrl::fromLocalFile(QStringLiteral("/records/") + QString::fromStdString(file));
}

std::vector<std::string> namesOf(const std::vector<QUrl>& urls)
{
    std::vector<std::string> names;
    for (const QUrl& url : urls)
        names.push_back(url.fileName().toStdString());
    return names;
}

// A write every 90 ms for 1.2 s, then a pause.
std::vector<Step> steadyWriter()
{
    std::vector<Step> steps;
    for (int ms = 0; ms <= 1170; ms += 90)
        steps.push_back({ms, 'w', "a.sfl3", {}});
    // The burst that began at 0 is over at 1 s, its successor 100 ms after the last write.
    steps.push_back({1000, 't', "", {"a.sfl3"}});
    steps.push_back({1269, 't', "", {}});
    steps.push_back({1270, 't', "", {"a.sfl3"}});
    std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.ms < b.ms; });
    return steps;
}

// Quiet for 100 ms ends a burst; no burst lasts longer than 1 s.
const std::vector<Scenario>& scenarios()
{
    static const std::vector<Scenario> list{
        {"many writes then a pause: one report once the writer pauses",
         {{0, 'w', "a.sfl3", {}},
          {10, 'w', "a.sfl3", {}},
          {90, 'w', "a.sfl3", {}},
          {189, 't', "", {}},
          {190, 't', "", {"a.sfl3"}},
          {400, 't', "", {}}}},
        {"a writer that never pauses: reported every second", steadyWriter()},
        {"closed after writing: the close is the only report",
         {{0, 'w', "a.sfl3", {}}, {5, 'f', "a.sfl3", {"a.sfl3"}}, {500, 't', "", {}}}},
        {"created, then written and kept open: both reported",
         {{0, 'f', "a.sfl3", {"a.sfl3"}}, {1, 'w', "a.sfl3", {}}, {101, 't', "", {"a.sfl3"}}}},
        {"two files: each its own burst, in the order they began",
         {{0, 'w', "b.sfl3", {}},
          {20, 'w', "a.sfl3", {}},
          {30, 'f', "c.sfl3", {"c.sfl3"}},
          {90, 'w', "b.sfl3", {}},
          {120, 't', "", {"a.sfl3"}},
          {190, 't', "", {"b.sfl3"}}}},
    };
    return list;
}

TEST(WriteBurstsTest, WritesAreGatheredIntoBursts)
{
    const WriteBursts::Clock::time_point start{};
    for (const Scenario& scenario : scenarios()) {
        WriteBursts bursts({100ms, 1s});
        for (const Step& step : scenario.steps) {
            const auto now = start + std::chrono::milliseconds(step.ms);
            // The reader wakes when the next burst is due, and reads events when there are some.
            std::vector<QUrl> reported = bursts.due(now);
            if (step.what != 't') {
                const auto taken = bursts.take({{urlOf(step.file), step.what == 'w'}}, now);
                reported.insert(reported.end(), taken.begin(), taken.end());
            }
            EXPECT_EQ(namesOf(reported), step.reported) << scenario.name << " at " << step.ms;
            const auto due = bursts.nextDue();
            EXPECT_TRUE(!due || *due > now) << scenario.name << " at " << step.ms;
        }
        EXPECT_TRUE(bursts.isEmpty()) << scenario.name;
        EXPECT_FALSE(bursts.nextDue()) << scenario.name;
    }
}

TEST(WriteBurstsTest, NextDueIsTheEarliestEnd)
{
    WriteBursts bursts({100ms, 1s});
    const WriteBursts::Clock::time_point start{};
    EXPECT_FALSE(bursts.nextDue());
    bursts.take({{urlOf("a.sfl3"), true}}, start);
    bursts.take({{urlOf("b.sfl3"), true}}, start + 30ms);
    bursts.take({{urlOf("a.sfl3"), true}}, start + 60ms);
    EXPECT_EQ(bursts.nextDue(), start + 130ms);
}
} // namespace
