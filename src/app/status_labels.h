#pragma once

// The status-bar labels. Global because the device link, the editor and the
// language switch all rewrite them; created once by the main window.

class QLabel;

extern QLabel* statusLabel1; // audio code
extern QLabel* statusLabel2; // sample rate
extern QLabel* statusLabel3; // enabled-band count
extern QLabel* statusLabel4; // device model
extern QLabel* statusLabel5; // connection state
extern QLabel* statusLabel6; // band limit
extern QLabel* statusLabel7; // device EQ state, shown while a device is connected
extern QLabel* statusLabel8; // never shown
