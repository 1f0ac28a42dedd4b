#pragma once

#include <QString>

// The text of a string id from this library's own table, in German when the
// user's language is German, in English otherwise; empty for an unknown id.
QString Toolkit_LoadResource(int id);
