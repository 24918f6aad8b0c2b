// The filter lists of the file dialogs, written as "description|patterns|..."
// with patterns separated by ";", and their form for Qt's dialogs.
#pragma once

#include <QStringList>

namespace rd {

inline constexpr const char* kPaneFileFilter =
    "テキスト(*.txt)|*.txt|"
    "データ(*.csv,*.dat,*.data,*.xml)|*.csv;*.dat;*.data;*.xml|"
    "プログラム(*.c,*.cpp,*.h,*.java,*.pas;*.sql)|*.c;*.cpp;*.h;*.java;*.pas;*.sql|"
    "ＷＥＢ(*.htm,*.html,*.jsp,*.js,*.vbs,*.css,*.xml,*.dtd)|*.htm;*.html;*.jsp;*.js;*.vbs;*.css;*.xml;*.dtd|"
    "システム(*.bat,*.ini,*.inf)|*.bat;*.ini;*.inf|"
    "全てのファイル(*.*)|*";

// "Text (a)|*.a;*.b|..." as Qt's "Text (a) (*.a *.b)" list.
QStringList QtNameFilters(const char* filter);

}  // namespace rd
