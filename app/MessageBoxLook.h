// How every message box of the window looks: Chinese buttons, and a width at
// which a Chinese sentence never leaves a character alone on its last line.
#pragma once

class QMessageBox;

// Call before the box is shown.
void PrepareMessageBox(QMessageBox& box);
