#pragma once

#include "Passport.h"

// The one list of the passport's scalar fields and of a column's fields, in their stored order.
// Every format (the document's XML, scenario files, the JSON dump, the AIA export) visits the
// fields through these functions and picks the conversion by the member's type, so that a new
// field is one line here and a new format one visitor.
//
// `visit` is called as visit(const PassportField&, Member&) for each field; `Record` is the
// record or its const version, so the same list serves readers and writers.

struct PassportField {
    const char* key;  // the XML element, the JSON key and the scenario key
    // Given by whoever makes the document (a new assay id, the time of the analysis), so a
    // scenario cannot set it.
    bool made_with_document = false;
    // The AIA global attribute that carries a text field, or nullptr.
    const char* aia_attribute = nullptr;
};

template <class Record, class Visit>
void ForEachPassportField(Record& p, Visit&& visit) {
    visit(PassportField{.key = "assayid", .made_with_document = true, .aia_attribute = "sample_id"},
          p.assayid);
    visit(PassportField{"series"}, p.series);
    visit(PassportField{.key = "andate", .made_with_document = true}, p.andate);
    visit(PassportField{"duration"}, p.duration);
    visit(PassportField{.key = "sample", .aia_attribute = "sample_name"}, p.sample);
    visit(PassportField{.key = "method", .aia_attribute = "experiment_title"}, p.method);
    visit(PassportField{"graduation"}, p.graduation);
    visit(PassportField{"date"}, p.date);
    visit(PassportField{"defect"}, p.defect);
    visit(PassportField{"mixture"}, p.mixture);
    visit(PassportField{"isDeleted"}, p.isDeleted);
}

// The element, key and list name under which columns are kept.
inline constexpr const char* kColumnKey = "column";

template <class Record, class Visit>
void ForEachColumnField(Record& c, Visit&& visit) {
    visit(PassportField{"channel"}, c.channel);
    visit(PassportField{"name"}, c.name);
    visit(PassportField{"brand"}, c.brand);
    visit(PassportField{"type"}, c.type);
    visit(PassportField{"diameter"}, c.diameter);
    visit(PassportField{"length"}, c.length);
    visit(PassportField{"carrier"}, c.carrier);
    visit(PassportField{"phase"}, c.phase);
    visit(PassportField{"percent"}, c.percent);
    visit(PassportField{"unit"}, c.unit);
    visit(PassportField{"fraction0"}, c.fraction0);
    visit(PassportField{"fraction1"}, c.fraction1);
    visit(PassportField{"film"}, c.film);
    visit(PassportField{"part"}, c.part);
    visit(PassportField{"serial"}, c.serial);
    visit(PassportField{"channelsId"}, c.channelsId);  // stored as one text, "1,2,10"
}

// An extra entry's three texts.
template <class Record, class Visit>
void ForEachEntryField(Record& e, Visit&& visit) {
    visit(PassportField{"name"}, e.name);
    visit(PassportField{"title"}, e.title);
    visit(PassportField{"value"}, e.value);
}
