#pragma once
#include <QDate>
#include <QString>
#include <functional>

// Small shared calculations of the desk.

// The Czech birth number test: 9 digits always pass; 10 digits pass when the year part is
// 00 to 53, or when the whole number is divisible by 11. A text of another length, or whose
// pieces are not digits, does not pass.
bool CheckBirthNumber(const QString &rc);

// `folder` + "/" + `fileName`, with no second "/" when the folder ends in one; an empty folder
// gives an empty result.
QString JoinPath(const QString &fileName, const QString &folder);

// 1 for Monday up to 7 for Sunday.
int DayOfWeekISO(const QDate &date);

// The VAT share of a gross price at `rate` percent, cut (not rounded) to four decimals and
// computed exactly: 19 % gives 0.1596, 25 % gives 0.2.
float TaxCoefficient(int rate);

// The amount rounded to hundredths, halves to the even neighbour, in single precision.
float RoundMoney(float amount);

// "Zákazník (42/Novák)" and "Video (7/Titul)": the number without leading zeros, the name
// without its trailing blanks.
QString CustomerCaption(qint64 number, const QString &name);
QString VideoCaption(qint64 number, const QString &title);

// The barcode reader setting (`CheckBoxEan` of the rental settings). The settings dialog sets
// the provider; until then, and with none, the setting is off.
void SetBarcodeSettingProvider(std::function<bool()> provider);
bool BarcodeSettingOn();

// Linux has no per-program keyboard layout switch: these record the layout the desk asks for
// (1033 English while a number field has the focus, 1029 Czech elsewhere), and only while the
// barcode setting is on; the number controls then read the Czech number row as digits.
inline constexpr int LayoutEnglish = 1033;
inline constexpr int LayoutCzech = 1029;
void KeyboardEnglish();
void KeyboardCzech();
// The layout last asked for, or 0 when none has been.
int RequestedKeyboardLayout();

// The Czech number row "+ěščřžýáíé" (what a barcode reader types through a Czech layout) as
// the digits "1234567890"; other characters are returned as they are.
QChar CzechNumberRowDigit(QChar c);
