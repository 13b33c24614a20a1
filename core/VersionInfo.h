#pragma once
#include <QString>

// The value of the string entry `key` ("ProductName", "ProductVersion", ...) of the
// program's version resource, from the string table of its first translation; empty
// when there is no such entry.
QString GetVersionInfo(const QString &key);
// The value at a full path of the version resource, as "\VarFileInfo\Translation" or
// "\StringFileInfo\040504e2\ProductName"; empty when the path is unknown.
QString QueryVersionValue(const QString &path);
