#pragma once

class QLineEdit;

// Makes `edit` a password field that shows each character as "*" (the style's own
// password character is a bullet).
void SetStarPasswordEcho(QLineEdit *edit);
