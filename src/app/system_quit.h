#pragma once

// The session's request to quit. On the desktop this program was made for, the
// system sends the application a QEvent::Quit when the user logs out; on Linux
// the session sends SIGTERM instead. This turns SIGTERM into that same event,
// posted to the application object on the GUI thread, so a quit from the
// session takes the ordinary quit path.
//
// Call once after the application object exists. Returns false when the
// handler could not be installed (the signal then keeps its default action).
bool installSystemQuitOnSigterm();
