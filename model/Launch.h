#pragma once
// Runs the composed command: the three repair tools through sfc.bat in a
// console of their own, the external tool directly.

void RunCommand();

// What a click on "Process" does around RunCommand: the button is hidden while
// the command starts, the preview is emptied and the pointer goes to "Exit".
void ProcessClick();
