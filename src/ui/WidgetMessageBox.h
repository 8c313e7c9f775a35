#pragma once

// Routes the program's message boxes to real modal QMessageBox windows.
void installWidgetMessageBoxes();
