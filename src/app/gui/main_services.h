// The services the main window and the dialogs it owns work through. The program hands in the
// system's; tests hand in doubles where the real ones would reach the outside world.
#pragma once

#include "platform/charsets.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/net.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/remote_access.h"
#include "platform/shell.h"
#include "platform/sound.h"

namespace quorlet {

struct MainServices {
    Registry& registry;
    Prompter& prompter;
    FileSystem& fileSystem;
    Clock& clock;
    const Charsets& charsets;
    Sound& sound;
    Shell& shell;
    Net& net;
    RemoteAccess& remoteAccess;
};

}  // namespace quorlet
