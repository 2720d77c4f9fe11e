#pragma once

class QWidget;

namespace forms {

// Every character typed into the field arrives upper-cased (pasted text is
// left as it is).
void UpperCaseTyping(QWidget* field);

} // namespace forms
