// The options page's schedule as the system's Task Scheduler keeps it: registered, changed and
// removed through each of the two scheduler interfaces, read back through the same one. What a
// scheduler gives back is compared whole; Wine's ITaskService keeps a task's registration and
// settings but neither its program nor its trigger, and makes only daily triggers: through it alone
// only a daily task's presence is checked; the page's choice (kAuto) then falls back to the XP one.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "pages/options/clean_schedule.h"

namespace {

using options_page::Frequency;
using options_page::SchedulerApi;

class Schedule : public testing::TestWithParam<SchedulerApi> {
 protected:
  void TearDown() override { options_page::RemoveScheduledTask(GetParam()); }
};

TEST_P(Schedule, RegisterChangeAndRemoveRoundTrip) {
  const std::wstring folder = L"C:\\Program Files\\Lumaspan";
  options_page::CleanSchedule s;
  s.enabled = true;
  std::wstring error;
  std::vector<Frequency> frequencies = {Frequency::kDaily, Frequency::kWeekly, Frequency::kAtLogon};
  if (GetParam() == SchedulerApi::kTaskService) frequencies.resize(1);
  for (Frequency f : frequencies) {
    s.frequency = f;
    s.registry = f != Frequency::kDaily;  // each change changes what is cleaned too
    ASSERT_TRUE(options_page::ApplySchedule(s, folder, GetParam(), &error)) << testing::PrintToString(error);
    options_page::RegisteredTask task;
    ASSERT_TRUE(options_page::ReadScheduledTask(GetParam(), &task)) << static_cast<int>(f);
    if (GetParam() == SchedulerApi::kTaskScheduler) {
      EXPECT_TRUE(task.actionKnown && task.triggerKnown);
    }
    if (task.actionKnown) {
      EXPECT_EQ(folder + L"\\LumaspanCmd.exe", task.program);
      EXPECT_EQ(options_page::ScheduledArguments(s, folder), task.arguments);
    }
    if (task.triggerKnown) {
      EXPECT_EQ(f, task.frequency);
    }
  }
  if (GetParam() != SchedulerApi::kTaskService) {
    EXPECT_EQ(L"clean --junk --traces --registry --quiet --report \"" + folder + L"\\Logs\\clean-*.txt\"",
              options_page::ScheduledArguments(s, folder));
  }

  // Off, or nothing chosen to clean: the task goes.
  s.junk = s.traces = s.registry = false;
  ASSERT_TRUE(options_page::ApplySchedule(s, folder, GetParam(), &error)) << testing::PrintToString(error);
  options_page::RegisteredTask task;
  EXPECT_FALSE(options_page::ReadScheduledTask(GetParam(), &task));
  EXPECT_TRUE(options_page::RemoveScheduledTask(GetParam()));  // removing what is not there is no failure
}

INSTANTIATE_TEST_SUITE_P(ConsoleProgram, Schedule,
                         testing::Values(SchedulerApi::kAuto, SchedulerApi::kTaskService, SchedulerApi::kTaskScheduler));

}  // namespace
