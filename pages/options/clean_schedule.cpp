#include "pages/options/clean_schedule.h"

#include <initguid.h>  // the XP scheduler's class and interface ids are defined in its header

#include <windows.h>
#include <lmcons.h>
#include <mstask.h>
#include <taskschd.h>

#include <cwchar>

#include "base/handles.h"

namespace options_page {
namespace {

// The weekly trigger of ITaskService, which the compiler's headers leave out.
struct WeeklyTrigger : public ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_DaysOfWeek(short* days) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DaysOfWeek(short days) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeeksInterval(short* weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeeksInterval(short weeks) = 0;
};
const IID kIidWeeklyTrigger = {0x5038fc98, 0x82ff, 0x436d, {0x87, 0x28, 0xa5, 0x12, 0xa5, 0x7c, 0x9d, 0xc1}};

template <typename T>
class Com {
 public:
  Com() = default;
  ~Com() { if (p_) p_->Release(); }
  Com(const Com&) = delete;
  Com& operator=(const Com&) = delete;
  T* operator->() const { return p_; }
  T* get() const { return p_; }
  T** out() { return &p_; }
  void** outVoid() { return reinterpret_cast<void**>(&p_); }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return b_; }
  BSTR* out() { return &b_; }
  std::wstring text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

// COM for the length of a call, on a thread that may or may not have it already.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

bool Gone(HRESULT hr) {
  return SUCCEEDED(hr) || hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

std::wstring HrText(const wchar_t* what, HRESULT hr) {
  wchar_t code[16];
  swprintf(code, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return std::wstring(what) + L" failed (" + code + L")";
}

// The first run: today at noon, local time; a run missed while the computer was off comes when it
// is next on.
SYSTEMTIME FirstRun() {
  SYSTEMTIME t = {};
  GetLocalTime(&t);
  t.wHour = 12;
  t.wMinute = t.wSecond = t.wMilliseconds = 0;
  return t;
}

// --- ITaskService (Vista on) ----------------------------------------------------------------------

bool ConnectService(Com<ITaskService>& service, Com<ITaskFolder>& folder, HRESULT* hr) {
  *hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService), service.outVoid());
  if (FAILED(*hr)) return false;
  VARIANT empty;
  VariantInit(&empty);
  *hr = service->Connect(empty, empty, empty, empty);
  if (FAILED(*hr)) return false;
  Bstr root(L"\\");
  *hr = service->GetFolder(root.get(), folder.out());
  return SUCCEEDED(*hr);
}

HRESULT ServiceRegister(const CleanSchedule& s, const std::wstring& program, const std::wstring& arguments,
                        const std::wstring& folderPath, std::wstring* step) {
  Com<ITaskService> service;
  Com<ITaskFolder> folder;
  HRESULT hr;
  *step = L"Connecting to the Task Scheduler";
  if (!ConnectService(service, folder, &hr)) return hr;
  Com<ITaskDefinition> task;
  *step = L"Making the task";
  if (FAILED(hr = service->NewTask(0, task.out()))) return hr;
  Com<IRegistrationInfo> info;
  if (SUCCEEDED(task->get_RegistrationInfo(info.out()))) {
    Bstr author(L"Lumaspan"), text(L"Cleans with Lumaspan's console program; its reports are in Logs\\ in the program folder.");
    info->put_Author(author.get());
    info->put_Description(text.get());
  }
  Com<ITaskSettings> settings;
  if (SUCCEEDED(task->get_Settings(settings.out()))) settings->put_StartWhenAvailable(VARIANT_TRUE);
  Com<IPrincipal> principal;
  if (SUCCEEDED(task->get_Principal(principal.out()))) principal->put_LogonType(TASK_LOGON_INTERACTIVE_TOKEN);

  *step = L"Making the task's trigger";
  Com<ITriggerCollection> triggers;
  if (FAILED(hr = task->get_Triggers(triggers.out()))) return hr;
  TASK_TRIGGER_TYPE2 type = s.frequency == Frequency::kWeekly   ? TASK_TRIGGER_WEEKLY
                            : s.frequency == Frequency::kAtLogon ? TASK_TRIGGER_LOGON
                                                                 : TASK_TRIGGER_DAILY;
  Com<ITrigger> trigger;
  if (FAILED(hr = triggers->Create(type, trigger.out()))) return hr;
  SYSTEMTIME first = FirstRun();
  if (s.frequency != Frequency::kAtLogon) {
    wchar_t start[32];
    swprintf(start, 32, L"%04u-%02u-%02uT12:00:00", first.wYear, first.wMonth, first.wDay);
    Bstr boundary(start);
    if (FAILED(hr = trigger->put_StartBoundary(boundary.get()))) return hr;
  }
  if (s.frequency == Frequency::kDaily) {
    Com<IDailyTrigger> daily;
    if (FAILED(hr = trigger->QueryInterface(__uuidof(IDailyTrigger), daily.outVoid()))) return hr;
    daily->put_DaysInterval(1);
  } else if (s.frequency == Frequency::kWeekly) {
    Com<WeeklyTrigger> weekly;
    if (FAILED(hr = trigger->QueryInterface(kIidWeeklyTrigger, weekly.outVoid()))) return hr;
    weekly->put_DaysOfWeek(static_cast<short>(1 << first.wDayOfWeek));  // today's day, Sunday 1
    weekly->put_WeeksInterval(1);
  }

  *step = L"Making the task's program";
  Com<IActionCollection> actions;
  if (FAILED(hr = task->get_Actions(actions.out()))) return hr;
  Com<IAction> action;
  if (FAILED(hr = actions->Create(TASK_ACTION_EXEC, action.out()))) return hr;
  Com<IExecAction> exec;
  if (FAILED(hr = action->QueryInterface(__uuidof(IExecAction), exec.outVoid()))) return hr;
  Bstr path(program), args(arguments), work(folderPath);
  if (FAILED(hr = exec->put_Path(path.get())) || FAILED(hr = exec->put_Arguments(args.get()))) return hr;
  exec->put_WorkingDirectory(work.get());

  *step = L"Registering the task";
  Bstr name(kScheduleTaskName);
  VARIANT empty;
  VariantInit(&empty);
  Com<IRegisteredTask> registered;
  return folder->RegisterTaskDefinition(name.get(), task.get(), TASK_CREATE_OR_UPDATE, empty, empty,
                                        TASK_LOGON_INTERACTIVE_TOKEN, empty, registered.out());
}

HRESULT ServiceRemove() {
  Com<ITaskService> service;
  Com<ITaskFolder> folder;
  HRESULT hr;
  if (!ConnectService(service, folder, &hr)) return hr;
  Bstr name(kScheduleTaskName);
  return folder->DeleteTask(name.get(), 0);
}

bool ServiceRead(RegisteredTask* out) {
  Com<ITaskService> service;
  Com<ITaskFolder> folder;
  HRESULT hr;
  if (!ConnectService(service, folder, &hr)) return false;
  Bstr name(kScheduleTaskName);
  Com<IRegisteredTask> registered;
  Com<ITaskDefinition> task;
  if (FAILED(folder->GetTask(name.get(), registered.out())) || FAILED(registered->get_Definition(task.out())))
    return false;
  // A scheduler may keep a task without giving its program back (Wine's keeps neither program nor
  // trigger): the task is there all the same.
  Com<IActionCollection> actions;
  Com<IAction> action;
  Com<IExecAction> exec;
  if (SUCCEEDED(task->get_Actions(actions.out())) && SUCCEEDED(actions->get_Item(1, action.out())) &&
      SUCCEEDED(action->QueryInterface(__uuidof(IExecAction), exec.outVoid()))) {
    Bstr path, args;
    exec->get_Path(path.out());
    exec->get_Arguments(args.out());
    out->program = path.text();
    out->arguments = args.text();
    out->actionKnown = true;
  }
  Com<ITriggerCollection> triggers;
  Com<ITrigger> trigger;
  TASK_TRIGGER_TYPE2 type = TASK_TRIGGER_EVENT;
  out->triggerKnown = SUCCEEDED(task->get_Triggers(triggers.out())) && SUCCEEDED(triggers->get_Item(1, trigger.out())) &&
                      SUCCEEDED(trigger->get_Type(&type)) &&
                      (type == TASK_TRIGGER_DAILY || type == TASK_TRIGGER_WEEKLY || type == TASK_TRIGGER_LOGON);
  if (out->triggerKnown)
    out->frequency = type == TASK_TRIGGER_WEEKLY  ? Frequency::kWeekly
                     : type == TASK_TRIGGER_LOGON ? Frequency::kAtLogon
                                                  : Frequency::kDaily;
  return true;
}

// --- ITaskScheduler (XP) --------------------------------------------------------------------------

HRESULT Scheduler(Com<ITaskScheduler>& s) {
  return CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler, s.outVoid());
}

HRESULT SchedulerRegister(const CleanSchedule& s, const std::wstring& program, const std::wstring& arguments,
                          const std::wstring& folderPath, std::wstring* step) {
  Com<ITaskScheduler> scheduler;
  HRESULT hr;
  *step = L"Connecting to the Task Scheduler";
  if (FAILED(hr = Scheduler(scheduler))) return hr;
  scheduler->Delete(kScheduleTaskName);  // replaced whole: a job's triggers are not edited in place
  Com<ITask> task;
  *step = L"Making the task";
  if (FAILED(hr = scheduler->NewWorkItem(kScheduleTaskName, CLSID_CTask, IID_ITask,
                                         reinterpret_cast<IUnknown**>(task.out()))))
    return hr;
  *step = L"Making the task's program";
  if (FAILED(hr = task->SetApplicationName(program.c_str())) || FAILED(hr = task->SetParameters(arguments.c_str())))
    return hr;
  task->SetWorkingDirectory(folderPath.c_str());
  task->SetComment(L"Cleans with Lumaspan's console program; its reports are in Logs\\ in the program folder.");
  task->SetFlags(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON);
  wchar_t user[UNLEN + 1] = {};
  DWORD size = UNLEN + 1;
  if (GetUserNameW(user, &size)) task->SetAccountInformation(user, nullptr);  // no password: runs as the user

  *step = L"Making the task's trigger";
  WORD index = 0;
  Com<ITaskTrigger> trigger;
  if (FAILED(hr = task->CreateTrigger(&index, trigger.out()))) return hr;
  SYSTEMTIME first = FirstRun();
  TASK_TRIGGER t = {};
  t.cbTriggerSize = sizeof(t);
  t.wBeginYear = first.wYear;
  t.wBeginMonth = first.wMonth;
  t.wBeginDay = first.wDay;
  t.wStartHour = 12;
  if (s.frequency == Frequency::kWeekly) {
    t.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
    t.Type.Weekly.WeeksInterval = 1;
    t.Type.Weekly.rgfDaysOfTheWeek = static_cast<WORD>(TASK_SUNDAY << first.wDayOfWeek);
  } else if (s.frequency == Frequency::kAtLogon) {
    t.TriggerType = TASK_EVENT_TRIGGER_AT_LOGON;
  } else {
    t.TriggerType = TASK_TIME_TRIGGER_DAILY;
    t.Type.Daily.DaysInterval = 1;
  }
  if (FAILED(hr = trigger->SetTrigger(&t))) return hr;
  *step = L"Saving the task";
  Com<IPersistFile> file;
  if (FAILED(hr = task->QueryInterface(IID_IPersistFile, file.outVoid()))) return hr;
  return file->Save(nullptr, TRUE);
}

HRESULT SchedulerRemove() {
  Com<ITaskScheduler> scheduler;
  HRESULT hr = Scheduler(scheduler);
  return FAILED(hr) ? hr : scheduler->Delete(kScheduleTaskName);
}

bool SchedulerRead(RegisteredTask* out) {
  Com<ITaskScheduler> scheduler;
  Com<ITask> task;
  if (FAILED(Scheduler(scheduler)) ||
      FAILED(scheduler->Activate(kScheduleTaskName, IID_ITask, reinterpret_cast<IUnknown**>(task.out()))))
    return false;
  wchar_t* text = nullptr;
  out->actionKnown = true;
  if (SUCCEEDED(task->GetApplicationName(&text)) && text) out->program = text;
  CoTaskMemFree(text);
  text = nullptr;
  if (SUCCEEDED(task->GetParameters(&text)) && text) out->arguments = text;
  CoTaskMemFree(text);
  Com<ITaskTrigger> trigger;
  TASK_TRIGGER t = {};
  t.cbTriggerSize = sizeof(t);
  out->triggerKnown = SUCCEEDED(task->GetTrigger(0, trigger.out())) && SUCCEEDED(trigger->GetTrigger(&t)) &&
                      (t.TriggerType == TASK_TIME_TRIGGER_DAILY || t.TriggerType == TASK_TIME_TRIGGER_WEEKLY ||
                       t.TriggerType == TASK_EVENT_TRIGGER_AT_LOGON);
  if (out->triggerKnown)
    out->frequency = t.TriggerType == TASK_TIME_TRIGGER_WEEKLY      ? Frequency::kWeekly
                     : t.TriggerType == TASK_EVENT_TRIGGER_AT_LOGON ? Frequency::kAtLogon
                                                                    : Frequency::kDaily;
  return true;
}

// ITaskService when it can be made (and was not ruled out), else the XP scheduler.
bool UseService(SchedulerApi api) {
  if (api != SchedulerApi::kAuto) return api == SchedulerApi::kTaskService;
  Com<ITaskService> service;
  return SUCCEEDED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                    service.outVoid()));
}

DWORD ReadDword(HKEY key, const wchar_t* name, DWORD fallback) {
  DWORD value = 0, size = sizeof(value), type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(value))
    return fallback;
  return value;
}

}  // namespace

CleanSchedule LoadSchedule() {
  CleanSchedule s;
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kScheduleKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return s;
  s.enabled = ReadDword(key.get(), L"Enabled", 0) != 0;
  DWORD f = ReadDword(key.get(), L"Frequency", 0);
  s.frequency = f == 1 ? Frequency::kWeekly : f == 2 ? Frequency::kAtLogon : Frequency::kDaily;
  s.junk = ReadDword(key.get(), L"Junk", 1) != 0;
  s.traces = ReadDword(key.get(), L"Traces", 1) != 0;
  s.registry = ReadDword(key.get(), L"Registry", 0) != 0;
  return s;
}

bool StoreSchedule(const CleanSchedule& s) {
  base::UniqueKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kScheduleKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  const struct {
    const wchar_t* name;
    DWORD value;
  } values[] = {{L"Enabled", s.enabled}, {L"Frequency", static_cast<DWORD>(s.frequency)},
                {L"Junk", s.junk}, {L"Traces", s.traces}, {L"Registry", s.registry}};
  for (const auto& v : values)
    if (RegSetValueExW(key.get(), v.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v.value), sizeof(DWORD)) !=
        ERROR_SUCCESS)
      return false;
  return true;
}

std::wstring ScheduledArguments(const CleanSchedule& s, const std::wstring& programFolder) {
  std::wstring args = L"clean";
  if (s.junk) args += L" --junk";
  if (s.traces) args += L" --traces";
  if (s.registry) args += L" --registry";
  return args + L" --quiet --report \"" + programFolder + L"\\Logs\\clean-*.txt\"";
}

bool ApplySchedule(const CleanSchedule& s, const std::wstring& programFolder, SchedulerApi api, std::wstring* error) {
  ComScope com;
  bool service = UseService(api);
  if (!s.enabled || !(s.junk || s.traces || s.registry)) {
    HRESULT hr = service ? ServiceRemove() : SchedulerRemove();
    // The other interface may hold the task of an earlier choice.
    if (api == SchedulerApi::kAuto && service) SchedulerRemove();
    if (Gone(hr)) return true;
    *error = HrText(L"Removing the scheduled task", hr);
    return false;
  }
  const std::wstring program = programFolder + L"\\LumaspanCmd.exe", arguments = ScheduledArguments(s, programFolder);
  std::wstring step;
  HRESULT hr = service ? ServiceRegister(s, program, arguments, programFolder, &step)
                       : SchedulerRegister(s, program, arguments, programFolder, &step);
  // A scheduler that cannot make this trigger (Wine's ITaskService makes only daily ones): the XP
  // interface, which newer systems keep too, makes the task instead, and only one of them holds it.
  if (api == SchedulerApi::kAuto && service && hr == E_NOTIMPL) {
    ServiceRemove();
    hr = SchedulerRegister(s, program, arguments, programFolder, &step);
  } else if (api == SchedulerApi::kAuto && service && SUCCEEDED(hr)) {
    SchedulerRemove();
  }
  if (SUCCEEDED(hr)) return true;
  *error = HrText(step.c_str(), hr);
  return false;
}

bool RemoveScheduledTask(SchedulerApi api) {
  ComScope com;
  bool service = UseService(api);
  bool gone = Gone(service ? ServiceRemove() : SchedulerRemove());
  if (api == SchedulerApi::kAuto && service) gone = Gone(SchedulerRemove()) && gone;
  return gone;
}

bool ReadScheduledTask(SchedulerApi api, RegisteredTask* task) {
  ComScope com;
  bool service = UseService(api);
  if (service && ServiceRead(task)) return true;
  return (!service || api == SchedulerApi::kAuto) && SchedulerRead(task);
}

}  // namespace options_page
