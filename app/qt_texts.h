#pragma once
// Qt's own texts (message-box buttons, the edit fields' context menu) in Simplified Chinese,
// whatever the desktop's language: every other text of the program is Chinese.

// Loads Qt's Simplified Chinese translation into the running application. False when it is
// not installed; Qt's texts then stay in English.
bool InstallQtChineseTexts();
