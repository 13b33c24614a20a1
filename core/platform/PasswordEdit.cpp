#include "core/platform/PasswordEdit.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace {

class StarPasswordStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void SetStarPasswordEcho(QLineEdit *edit)
{
    auto *style = new StarPasswordStyle;
    style->setParent(edit); // the edit owns its style
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}
