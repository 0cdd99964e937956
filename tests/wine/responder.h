// Answers the program's message boxes in-process, the way a user would, and
// records what each one showed. A CBT hook on the test thread sees every
// window that is activated; a message box is read and its scripted button
// clicked. The browser-location dialog and the open-file dialog get scripted
// actions instead, one per activation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/window_reader.h"

class Responder {
public:
    // answers: the labels of the buttons to click, one per message box.
    explicit Responder(std::vector<std::string> answers = {});
    ~Responder();

    std::vector<MessageBoxView> boxes;  // every message box, in order
    std::vector<DialogView> dialogs;    // the setup dialog at each activation
    std::vector<std::function<void(HWND)>> dialogActions;
    std::vector<std::function<void(HWND)>> fileDialogActions;
    std::vector<std::string> fileDialogTitles;
    int unexpected = 0;  // windows that came with no answer left

    // Texts of the message boxes, for short assertions.
    std::vector<std::string> Texts() const;

    void OnActivate(HWND window);  // called a moment after a window is activated

private:
    std::vector<std::string> answers_;
    size_t nextAnswer_ = 0;
    size_t nextDialogAction_ = 0;
    size_t nextFileAction_ = 0;
    std::vector<HWND> answered_;
    void *hook_ = nullptr;
    void *watchdog_ = nullptr;
    void *stop_ = nullptr;
};

// A message box as the program should show it.
MessageBoxView ErrorBox(const std::string &text);
MessageBoxView SetupBox(const std::string &text, const std::string &buttons = "OK");
