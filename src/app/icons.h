#pragma once

#include <QIcon>

// The pictures of the toolbar and the menus, drawn in code: one look on every desktop, and no
// icon theme to search at start-up.
enum class ToolIcon {
    New,
    Open,
    Save,
    Spreadsheet,
    Add,
    Change,
    Delete,
    DeleteRecord,
    ClearHistory,
    Print,
    ZoomNorm,
    ZoomPlus,
    ZoomMinus,
    Previous,
    Next,
};

QIcon toolIcon(ToolIcon kind);
