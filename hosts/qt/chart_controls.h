#pragma once
// The controls chart windows need besides the canvas: a check box, a horizontal scroll bar
// that tells the procedure what the user asked for, and a read-only table.

#include "hosts/qt/event_delivery.h"
#include "platform/desktop.h"

class QCheckBox;
class QScrollBar;
class QTableWidget;
class QWidget;

namespace zav::qt {

QCheckBox* CreateCheckBox(QWidget* client, int controlId, const DeliverEvent& deliver);
QScrollBar* CreateHorizontalScrollBar(QWidget* client, int controlId, const DeliverEvent& deliver);
QTableWidget* CreateTable(QWidget* client);

void SetScrollBarState(QScrollBar& bar, ScrollBarState state);
void SetTableText(QTableWidget& table, const TableText& text);

}  // namespace zav::qt
