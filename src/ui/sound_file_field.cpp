#include "ui/sound_file_field.h"

#include "ui/data_exchange.h"
#include "ui/window.h"

namespace quorlet::ui {

CSoundFileField::CSoundFileField(Prompter& prompter, Sound& sound, Controls controls,
                                 std::size_t maxBytes)
    : m_prompter(prompter), m_sound(sound), m_controls(controls), m_maxBytes(maxBytes) {}

void CSoundFileField::Exchange(CDataExchange& dx) {
    m_dialog = dx.Dialog();
    DDV_MaxBytes(dx, m_controls.edit, m_edit, m_maxBytes);
    if (!dx.Saving() && !m_chooseButton.IsHooked()) {
        DDX_Control(dx, m_controls.choose, m_chooseButton);
        DDX_Control(dx, m_controls.play, m_playButton);
        m_chooseButton.SetIcon(m_controls.chooseIcon, 0, 32, 32);
        m_playButton.SetIcon(m_controls.playIcon, 0, 32, 32);
    }
}

void CSoundFileField::Enable(bool on) {
    for (int id : {m_controls.edit, m_controls.choose, m_controls.play}) {
        EnableWindow(GetDlgItem(m_dialog, id), on);
    }
}

bool CSoundFileField::OnButtonClicked(int id) {
    if (id == m_controls.choose) {
        if (const auto path = m_prompter.OpenFile(kSoundFileFilter)) {
            SetText(GetDlgItem(m_dialog, m_controls.edit), *path);
        }
        return true;
    }
    if (id == m_controls.play) {
        if (const std::string file = GetText(GetDlgItem(m_dialog, m_controls.edit));
            !file.empty()) {
            m_sound.PlayFileAsync(file);
        }
        return true;
    }
    return false;
}

}  // namespace quorlet::ui
