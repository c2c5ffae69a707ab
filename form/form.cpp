#include "form.h"

#include <deque>

namespace morvane {

namespace {

std::string describe(std::string_view name, int index) {
    return std::string(name) + (index >= 0 ? "(" + std::to_string(index) + ")" : "");
}

}  // namespace

ControlDef textRow(std::string_view name, int index, std::string_view parent, int parentIndex, Box box,
                   std::string_view caption, double pt, bool bold, Align align, Rgb fore) {
    ControlDef d;
    d.name = name;
    d.index = index;
    d.parent = parent;
    d.parentIndex = parentIndex;
    d.box = box;
    d.caption = caption;
    d.pt = pt;
    d.bold = bold;
    d.align = align;
    d.fore = fore;
    return d;
}

ControlDef frameRow(std::string_view name, int index, Box box, Rgb back, bool visible, std::string_view parent,
                    int parentIndex) {
    ControlDef d;
    d.name = name;
    d.index = index;
    d.kind = Kind::Frame;
    d.box = box;
    d.back = back;
    d.opaque = true;
    d.visible = visible;
    d.parent = parent;
    d.parentIndex = parentIndex;
    return d;
}

std::string_view intern(std::string text) {
    static std::deque<std::string> pool;
    for (const std::string& s : pool)
        if (s == text) return s;
    return pool.emplace_back(std::move(text));
}

Form::Form(const std::vector<const ControlDef*>& defs) {
    controls.reserve(defs.size());
    for (const ControlDef* d : defs) {
        Control c;
        c.def = d;
        c.caption = std::string(d->caption);
        c.tag = std::string(d->tag);
        c.visible = d->visible;
        c.fore = d->fore;
        c.back = d->back;
        c.border = d->border;
        if (d->kind == Kind::List) c.listTop = d->box.top;
        std::vector<int>& slots = index_[d->name];
        const size_t slot = static_cast<size_t>(d->index + 1);
        if (slots.size() <= slot) slots.resize(slot + 1, -1);
        if (slots[slot] >= 0) throw DuplicateControl("two controls " + describe(d->name, d->index));
        slots[slot] = static_cast<int>(controls.size());
        controls.push_back(std::move(c));
    }
    for (auto& [name, slots] : index_)
        if (slots.size() > 1) elements_[name].assign(slots.begin() + 1, slots.end());
    for (Control& c : controls)
        if (!c.def->parent.empty()) c.parent = require(c.def->parent, c.def->parentIndex);
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].def->kind == Kind::Frame) frames_[controls[i].parent].push_back(static_cast<int>(i));
}

int Form::id(std::string_view name, int index) const {
    auto it = index_.find(name);
    if (it == index_.end() || index < -1) return -1;
    const size_t slot = static_cast<size_t>(index + 1);
    return slot < it->second.size() ? it->second[slot] : -1;
}

Control* Form::find(std::string_view name, int index) {
    const int i = id(name, index);
    return i < 0 ? nullptr : &controls[static_cast<size_t>(i)];
}

const Control* Form::find(std::string_view name, int index) const {
    const int i = id(name, index);
    return i < 0 ? nullptr : &controls[static_cast<size_t>(i)];
}

int Form::require(std::string_view name, int index) const {
    const int i = id(name, index);
    if (i < 0) throw MissingControl("no control " + describe(name, index));
    return i;
}

const std::vector<int>& Form::framesIn(int parent) const {
    static const std::vector<int> none;
    auto it = frames_.find(parent);
    return it == frames_.end() ? none : it->second;
}

const Control* Form::inFrame(int parent, Role role) const {
    for (const Control& c : controls)
        if (c.parent == parent && c.def->role == role) return &c;
    return nullptr;
}

const std::vector<int>& Form::elements(std::string_view name) const {
    static const std::vector<int> none;
    auto it = elements_.find(name);
    return it == elements_.end() ? none : it->second;
}

Timer* Form::timer(std::string_view name) {
    for (Timer& t : timers)
        if (t.name == name) return &t;
    return nullptr;
}

Timer& Form::requireTimer(std::string_view name) {
    if (Timer* t = timer(name)) return *t;
    throw MissingControl("no timer " + std::string(name));
}

}  // namespace morvane
