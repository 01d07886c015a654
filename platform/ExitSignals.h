// Turns SIGTERM, SIGINT and SIGHUP into a request that the application handles
// on its own main thread, so the library is saved before the process ends.
//
// The signal handler only writes the signal's number into a pipe (the one
// thing a handler may safely do); the application watches the pipe's read
// end with its event loop and saves there. In the Qt application:
//
//     if (InstallExitSignalPipe()) {
//         auto* notifier = new QSocketNotifier(ExitSignalDescriptor(),
//                                              QSocketNotifier::Read, &app);
//         QObject::connect(notifier, &QSocketNotifier::activated, [&] {
//             if (TakeExitSignal() != 0) {
//                 frame.m_pManager->Save(); // no exit question
//                 app.quit();
//             }
//         });
//     }
//
// A second signal while the first is handled is only recorded again; the
// process does not end before the save is done.
#pragma once

// Installs the handlers and creates the pipe; false (with nothing installed)
// when the pipe or a handler cannot be set up. Calling it again is harmless.
bool InstallExitSignalPipe();

// The read end of the pipe, non-blocking; readable once a signal arrived.
// -1 before InstallExitSignalPipe.
int ExitSignalDescriptor();

// Drains the pipe: the number of the last signal received, or 0 when none
// arrived since the last call.
int TakeExitSignal();

// Restores the default actions of the three signals and closes the pipe.
void UninstallExitSignalPipe();
