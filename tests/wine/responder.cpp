#include "responder.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

static Responder *active = nullptr;

// A window is read and answered a moment after it is activated, from a
// timer of the modal loop it runs in: during activation a message box has
// not yet set its default button, nor the open-file dialog its controls.
static std::vector<HWND> pending;

static void CALLBACK AnswerPending(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(NULL, timer);
    if (pending.empty() || active == nullptr) return;
    HWND window = pending.front();
    pending.erase(pending.begin());
    if (IsWindow(window)) active->OnActivate(window);
}

LRESULT CALLBACK ResponderHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && active != nullptr) {
        pending.push_back((HWND)wParam);
        SetTimer(NULL, 0, 100, AnswerPending);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

// A test that leaves a window unanswered must fail, not hang the run. The
// watchdog is stopped through an event, never terminated: a thread killed
// while it starts can leave the loader's lock held for good.
static DWORD WINAPI Watchdog(LPVOID stop)
{
    if (WaitForSingleObject((HANDLE)stop, 60000) == WAIT_OBJECT_0) return 0;
    std::fprintf(stderr, "responder: a window stayed open for 60 s; giving up\n");
    std::fflush(stderr);
    ExitProcess(3);
}

// The whole test program gets five minutes: a window that comes where no
// responder listens must end the run with a failure, not hang it.
static DWORD WINAPI ProgramWatchdog(LPVOID)
{
    Sleep(300000);
    std::fprintf(stderr, "wine_tests: still running after 300 s; giving up\n");
    std::fflush(stderr);
    ExitProcess(4);
}
static const HANDLE programWatchdog = CreateThread(NULL, 0, ProgramWatchdog, NULL, 0, NULL);

Responder::Responder(std::vector<std::string> answers) : answers_(std::move(answers))
{
    active = this;
    hook_ = SetWindowsHookExA(WH_CBT, ResponderHook, NULL, GetCurrentThreadId());
    stop_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    watchdog_ = CreateThread(NULL, 0, Watchdog, stop_, 0, NULL);
}

Responder::~Responder()
{
    UnhookWindowsHookEx((HHOOK)hook_);
    SetEvent((HANDLE)stop_);
    WaitForSingleObject((HANDLE)watchdog_, INFINITE);
    CloseHandle((HANDLE)watchdog_);
    CloseHandle((HANDLE)stop_);
    active = nullptr;
    pending.clear();
}

std::vector<std::string> Responder::Texts() const
{
    std::vector<std::string> texts;
    for (const auto &b : boxes) texts.push_back(b.text);
    return texts;
}

void Responder::OnActivate(HWND window)
{
    if (WindowClass(window) != "#32770") return;
    const std::string title = WindowText(window);
    if (title == "QuillDeck Plugin Setup") {
        dialogs.push_back(ReadDialog(window));
        if (nextDialogAction_ < dialogActions.size()) dialogActions[nextDialogAction_++](window);
        else {
            ++unexpected;
            ClickButton(window, 1006);  // Exit Setup
        }
        return;
    }
    if (title == "Setup - Find your browser's executable") {
        if (std::find(answered_.begin(), answered_.end(), window) != answered_.end()) return;
        answered_.push_back(window);
        fileDialogTitles.push_back(title);
        if (nextFileAction_ < fileDialogActions.size()) fileDialogActions[nextFileAction_++](window);
        else {
            ++unexpected;
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    if (std::find(answered_.begin(), answered_.end(), window) != answered_.end()) return;
    answered_.push_back(window);
    boxes.push_back(ReadMessageBox(window));
    if (getenv("QD_TRACE")) std::fprintf(stderr, "box: %s\n", Describe(boxes.back()).c_str());
    int id = 0;
    if (nextAnswer_ < answers_.size()) id = ButtonId(window, answers_[nextAnswer_++]);
    if (id == 0) {
        ++unexpected;
        id = ButtonId(window, "OK");
        if (id == 0) id = ButtonId(window, "No");
    }
    ClickButton(window, id);
}

MessageBoxView ErrorBox(const std::string &text)
{
    MessageBoxView box;
    box.caption = "Error";
    box.text = text;
    box.buttons = "OK*";
    return box;
}

MessageBoxView SetupBox(const std::string &text, const std::string &buttons)
{
    MessageBoxView box;
    box.caption = "Setup";
    box.text = text;
    box.buttons = buttons;
    return box;
}
