// A stand-in film-composing program in a process of its own: its main
// window, titled as the film program's, reads each announced file from the
// shared block while it handles the announcement.
//
// It writes "ready <window>" once its window exists, then for each file
// "received <announced size> <bytes read> <transfer syntax> <patient name>".
// The end of its input ends it.
#include "../../../platform/ProbeCommands.h"
#include "DisplayBackend.h"
#include "FakeFilmWindow.h"
#include "WinUser.h"

#include <cstdint>
#include <cstdio>
#include <string>

int main()
{
    if (!ChooseDisplayBackend().IsInteractive())
    {
        std::fprintf(stderr, "FilmWindowProbe needs an X display\n");
        return 2;
    }
    CFakeFilmWindow film;
    film.OnDelivery(
        [](const FilmDelivery& got)
        {
            CProbeCommands::Report("received " + std::to_string(got.announcedSize) + " " +
                                   std::to_string(got.nBytesRead) + " " + got.transferSyntax + " " +
                                   got.patientName);
        });
    ShowWindow(film.GetHandle(), SW_SHOW);
    CProbeCommands commands;
    commands.Start();
    CProbeCommands::Report("ready " +
                           std::to_string(reinterpret_cast<std::uintptr_t>(film.GetHandle())));
    MSG msg;
    std::string command;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
    {
        if (commands.Take(msg, command))
        {
            if (command == "quit")
                break;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
