// The document with its two lists over the one shared utility object: how
// the command line, the desktop program, the fuzz targets and the tests wire
// them, in one place.
#pragma once

#include "doc/OstravionDoc.h"
#include "views/ResultList.h"

namespace ostravion {

struct AuditLists {
    // `dates`, when given, fills the lists' creation-date column.
    explicit AuditLists(CAuditUtil& util, const FileDates* dates = nullptr)
        : normal(util, dates), extended(util, dates), doc(util, normal, extended) {}
    AuditLists(const AuditLists&) = delete;
    AuditLists& operator=(const AuditLists&) = delete;

    COstravionView normal;
    CExtendView extended;
    COstravionDoc doc;
};

} // namespace ostravion
