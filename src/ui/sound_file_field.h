// A sound file's edit field with two icon buttons beside it, one choosing the file in the
// open-file dialog and one playing it. The options sheet's mail page and both plan pages use
// it. The open-file dialog leaves the current directory as it was (the prompter sees to that):
// the program opens every data file relative to it.
#pragma once

#include <windows.h>

#include <cstddef>

#include "platform/prompter.h"
#include "platform/sound.h"
#include "ui/byte_limited_edit.h"
#include "ui/icon_button.h"

namespace quorlet::ui {

class CDataExchange;

inline constexpr const char* kSoundFileFilter = "声音文件(*.WAV)|*.wav|";

class CSoundFileField {
public:
    struct Controls {
        int edit;
        int choose;
        int play;
        int chooseIcon;  // icon resources of the two buttons, drawn 32 x 32
        int playIcon;
    };

    // The edit holds at most maxBytes GBK bytes, what the store reads back.
    CSoundFileField(Prompter& prompter, Sound& sound, Controls controls, std::size_t maxBytes);

    // In the dialog's DoDataExchange, before the edit's own exchange: takes over the three
    // controls of each new showing.
    void Exchange(CDataExchange& dx);
    // The edit and both buttons together.
    void Enable(bool on);
    // A click on the chooser (the chosen path replaces the text) or the player (plays a text
    // that is not empty; failures are not reported). False for any other control.
    bool OnButtonClicked(int id);

private:
    Prompter& m_prompter;
    Sound& m_sound;
    Controls m_controls;
    std::size_t m_maxBytes;
    HWND m_dialog = nullptr;
    CByteLimitedEdit m_edit;
    CIconButton m_chooseButton;
    CIconButton m_playButton;
};

}  // namespace quorlet::ui
