#include "runtime/window/definition.h"

#include <map>
#include <utility>

#include "runtime/value/text.h"
#include "runtime/window/choice_string.h"
#include "runtime/window/definition_codes.h"
#include "runtime/window/list_format.h"
#include "runtime/window/picture.h"
#include "runtime/window/property_codes.h"
#include "runtime/window/std_actions.h"
#include "runtime/window/window_registry.h"

namespace rt {
namespace {

constexpr size_t kAlertKeySlots = 255;

// One control of the definition, flattened, with everything BuildWindow works out for it.
struct Entry {
  const ControlDefinition* def = nullptr;
  bool menu = false;   // a menu-bar entry
  int nested_in = -1;  // index of the entry whose `children` hold this one
  ControlType type = ControlType::kString;
  int feq = 0;
  int parent_index = -1;  // -1: the window
  int menu_position = 0;  // menu-bar entries: place among the entries of the same parent
  std::vector<ChoiceItem> choices;
  VarRef var;
  std::shared_ptr<ListSource> source;
};

// The checked, flattened definition: entries in the order they are added to the window.
struct Plan {
  std::vector<Entry> entries;  // in declaration order
  std::vector<int> add_order;  // indexes into entries, parents first
};

void Flatten(const std::vector<ControlDefinition>& defs, int nested_in, bool menu,
             std::vector<Entry>* out) {
  for (const ControlDefinition& d : defs) {
    Entry e;
    e.def = &d;
    e.menu = menu;
    e.nested_in = nested_in;
    out->push_back(std::move(e));
    Flatten(d.children, static_cast<int>(out->size()) - 1, menu, out);
  }
}

bool TakesRows(ControlType t) {
  return t == ControlType::kList || t == ControlType::kCombo || t == ControlType::kDropList ||
         t == ControlType::kDropCombo || t == ControlType::kSpin;
}

// Builds the messages of one window's failures.
class Reporter {
 public:
  explicit Reporter(const WindowDefinition& def) : window_(def.label) {}

  std::string Name(const Entry& e) const {
    const ControlDefinition& d = *e.def;
    if (!d.label.empty()) return d.label;
    const std::string kind =
        d.kind_name.empty() ? std::string(ControlTypeName(d.kind)) : d.kind_name;
    if (!d.text.empty()) return kind + " \"" + d.text + "\"";
    return kind + (e.feq != 0 ? " " + std::to_string(e.feq) : std::string());
  }
  std::string ForWindow(const std::string& what) const { return "window " + window_ + ": " + what; }
  std::string ForControl(const Entry& e, const std::string& what) const {
    return "window " + window_ + ", control " + Name(e) + ": " + what;
  }

 private:
  std::string window_;
};

class Planner {
 public:
  Planner(const WindowDefinition& def, const VarBindings& bindings)
      : def_(def), bindings_(bindings), r_(def) {}

  Status Run(Plan* plan) {
    Status st = CheckWindow();
    if (st.ok()) {
      Flatten(def_.menu_bar, -1, true, &plan->entries);
      Flatten(def_.controls, -1, false, &plan->entries);
      st = ResolveKinds(plan->entries);
    }
    if (st.ok()) st = AssignFieldEquates(plan->entries);
    if (st.ok()) st = CheckLabels(plan->entries);
    if (st.ok()) st = ResolveParents(plan->entries);
    if (st.ok()) st = Order(plan);
    if (st.ok()) NumberMenuEntries(plan->entries);
    for (size_t i = 0; st.ok() && i < plan->entries.size(); ++i) {
      st = CheckContent(plan->entries[i]);
    }
    return st;
  }

 private:
  Status CheckWindow() const {
    if (def_.label.empty()) return Status::InvalidArgument("a window definition needs a label");
    if (def_.width < 0 || def_.height < 0) {
      return Status::InvalidArgument(r_.ForWindow("negative width or height"));
    }
    if (def_.font.size < 0) return Status::InvalidArgument(r_.ForWindow("negative font size"));
    if (def_.alert_keys.size() > kAlertKeySlots) {
      return Status::InvalidArgument(r_.ForWindow("more than 255 alert keys"));
    }
    return Status::Ok();
  }

  Status ResolveKinds(std::vector<Entry>& entries) const {
    for (Entry& e : entries) {
      const ControlDefinition& d = *e.def;
      e.type = d.kind;
      if (!d.kind_name.empty()) {
        std::optional<ControlType> t = ControlTypeFromName(d.kind_name);
        if (!t) {
          return Status::InvalidArgument(
              r_.ForControl(e, "unknown control type \"" + d.kind_name + "\""));
        }
        e.type = *t;
      }
      const bool menu_kind = e.type == ControlType::kMenu || e.type == ControlType::kItem;
      if (e.menu && !menu_kind) {
        return Status::InvalidArgument(r_.ForControl(
            e, "the menu bar holds menus and items, not " + std::string(ControlTypeName(e.type))));
      }
      if (!e.menu && menu_kind) {
        return Status::InvalidArgument(
            r_.ForControl(e, std::string(ControlTypeName(e.type)) + " belongs in the menu bar"));
      }
      if (e.type == ControlType::kWindow) {
        return Status::InvalidArgument(r_.ForControl(e, "a control cannot be of type WINDOW"));
      }
    }
    return Status::Ok();
  }

  Status AssignFieldEquates(std::vector<Entry>& entries) const {
    std::map<int, const Entry*> given;
    for (Entry& e : entries) {
      if (e.def->feq == 0) continue;
      if (e.menu && e.def->feq > 0) {
        return Status::InvalidArgument(r_.ForControl(
            e, "menu-bar field equate " + std::to_string(e.def->feq) + " must be negative"));
      }
      if (!e.menu && e.def->feq < 0) {
        return Status::InvalidArgument(
            r_.ForControl(e, "field equate " + std::to_string(e.def->feq) + " must be positive"));
      }
      auto [it, fresh] = given.emplace(e.def->feq, &e);
      if (!fresh) {
        return Status::AlreadyExists(r_.ForControl(e, "duplicate field equate " +
                                                          std::to_string(e.def->feq) + " (also " +
                                                          r_.Name(*it->second) + ")"));
      }
      e.feq = e.def->feq;
    }
    int next_body = 1, next_menu = -1;
    for (Entry& e : entries) {
      if (e.feq != 0) continue;
      int& next = e.menu ? next_menu : next_body;
      const int step = e.menu ? -1 : 1;
      while (given.count(next)) next += step;
      e.feq = next;
      next += step;
    }
    return Status::Ok();
  }

  Status CheckLabels(const std::vector<Entry>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
      const std::string& label = entries[i].def->label;
      if (label.empty()) continue;
      auto [it, fresh] = by_label_.emplace(Upper(Clip(label)), static_cast<int>(i));
      if (!fresh) {
        return Status::AlreadyExists(r_.ForControl(entries[i], "duplicate label " + label));
      }
    }
    return Status::Ok();
  }

  Status ResolveParents(std::vector<Entry>& entries) const {
    std::map<int, int> by_feq;
    for (size_t i = 0; i < entries.size(); ++i) by_feq[entries[i].feq] = static_cast<int>(i);
    for (Entry& e : entries) {
      const ControlDefinition& d = *e.def;
      if (!d.parent.empty() && d.parent_feq != 0) {
        return Status::InvalidArgument(
            r_.ForControl(e, "parent given both by label and by equate"));
      }
      if (e.nested_in >= 0 && (!d.parent.empty() || d.parent_feq != 0)) {
        return Status::InvalidArgument(r_.ForControl(
            e, "declared inside " + r_.Name(entries[e.nested_in]) + " and given a parent too"));
      }
      e.parent_index = e.nested_in;
      if (!d.parent.empty()) {
        auto it = by_label_.find(Upper(Clip(d.parent)));
        if (it == by_label_.end()) {
          return Status::NotFound(r_.ForControl(e, "parent " + d.parent + " does not exist"));
        }
        e.parent_index = it->second;
      } else if (d.parent_feq != 0) {
        auto it = by_feq.find(d.parent_feq);
        if (it == by_feq.end()) {
          return Status::NotFound(
              r_.ForControl(e, "parent " + std::to_string(d.parent_feq) + " does not exist"));
        }
        e.parent_index = it->second;
      }
      if (e.parent_index < 0) {
        if (e.type == ControlType::kTab) {
          return Status::InvalidArgument(r_.ForControl(e, "a TAB must be inside a SHEET"));
        }
        continue;
      }
      const Entry& p = entries[e.parent_index];
      if (p.menu != e.menu) {
        return Status::InvalidArgument(
            r_.ForControl(e, "parent " + r_.Name(p) + " is in the other of menu bar and body"));
      }
      if (!IsContainer(p.type)) {
        return Status::InvalidArgument(r_.ForControl(e, "parent " + r_.Name(p) + " is a " +
                                                            std::string(ControlTypeName(p.type)) +
                                                            ", which holds no controls"));
      }
      if (e.type == ControlType::kTab && p.type != ControlType::kSheet) {
        return Status::InvalidArgument(r_.ForControl(e, "a TAB must be inside a SHEET"));
      }
    }
    return Status::Ok();
  }

  // Parents before the controls they hold, otherwise declaration order; fails on a cycle.
  Status Order(Plan* plan) const {
    const std::vector<Entry>& entries = plan->entries;
    std::vector<int> state(entries.size(), 0);  // 0 new, 1 being placed, 2 placed
    for (size_t start = 0; start < entries.size(); ++start) {
      std::vector<int> chain;
      for (int i = static_cast<int>(start); i >= 0 && state[i] != 2; i = entries[i].parent_index) {
        if (state[i] == 1) {
          return Status::InvalidArgument(r_.ForControl(entries[i], "parents form a cycle"));
        }
        state[i] = 1;
        chain.push_back(i);
      }
      for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        state[*it] = 2;
        plan->add_order.push_back(*it);
      }
    }
    return Status::Ok();
  }

  static void NumberMenuEntries(std::vector<Entry>& entries) {
    std::map<int, int> count;  // parent index -> entries so far
    for (Entry& e : entries) {
      if (e.menu) e.menu_position = ++count[e.parent_index];
    }
  }

  Status CheckContent(Entry& e) const {
    const ControlDefinition& d = *e.def;
    const std::string kind(ControlTypeName(e.type));
    for (int64_t size : {d.width, d.height}) {
      if (size < 0 && size != kDefaultSize && size != kFullSize) {
        return Status::InvalidArgument(r_.ForControl(e, "negative width or height"));
      }
    }
    if ((d.width == kFullSize && d.height == kDefaultSize) ||
        (d.height == kFullSize && d.width == kDefaultSize)) {
      return Status::InvalidArgument(
          r_.ForControl(e, "a full width or height needs the other given or full too"));
    }
    const int sources = !d.choices.empty() + !d.from.empty() + !d.source.empty();
    if (sources > 1) {
      return Status::InvalidArgument(
          r_.ForControl(e, "give only one of choices, fixed texts and a list source"));
    }
    if ((sources > 0 || !d.format.empty()) && !TakesRows(e.type)) {
      return Status::InvalidArgument(r_.ForControl(e, "a " + kind + " takes no rows"));
    }
    if (Status st = ParseChoiceString(d.choices, &e.choices); !st.ok()) {
      return Status::InvalidArgument(r_.ForControl(e, st.message()));
    }
    if (Status st = ParseListFormat(d.format, nullptr); !st.ok()) {
      return Status::InvalidArgument(r_.ForControl(e, st.message()));
    }
    if (!d.picture.empty()) {
      if (Status st = ParsePicture(d.picture, nullptr); !st.ok()) {
        return Status::InvalidArgument(r_.ForControl(e, st.message()));
      }
    }
    if (!d.use.empty()) {
      auto it = bindings_.vars.find(d.use);
      if (it == bindings_.vars.end() || !it->second.bound()) {
        return Status::NotFound(
            r_.ForControl(e, "no variable bound to use name \"" + d.use + "\""));
      }
      e.var = it->second;
    }
    if (!d.source.empty()) {
      auto it = bindings_.lists.find(d.source);
      if (it == bindings_.lists.end() || it->second == nullptr) {
        return Status::NotFound(
            r_.ForControl(e, "no list source bound to name \"" + d.source + "\""));
      }
      e.source = it->second;
    }
    if ((!d.action.empty() || d.separator) && e.type != ControlType::kItem) {
      return Status::InvalidArgument(
          r_.ForControl(e, "only a menu ITEM has an action or separator"));
    }
    if (!d.action.empty() && !StdActionFromName(d.action)) {
      return Status::InvalidArgument(
          r_.ForControl(e, "unknown standard action \"" + d.action + "\""));
    }
    if (d.alert_keys.size() > kAlertKeySlots) {
      return Status::InvalidArgument(r_.ForControl(e, "more than 255 alert keys"));
    }
    if (d.font.size < 0) return Status::InvalidArgument(r_.ForControl(e, "negative font size"));
    return Status::Ok();
  }

  const WindowDefinition& def_;
  const VarBindings& bindings_;
  Reporter r_;
  std::map<std::string, int> by_label_;  // upper-cased label -> entry index
};

// Sets properties of one window, remembering the first failure.
class Writer {
 public:
  explicit Writer(Window& w) : w_(w) {}
  void Set(int feq, int code, const Value& v, int index = 0) {
    if (status_.ok()) status_ = w_.Set(feq, code, v, index);
  }
  void SetText(int feq, int code, const std::string& text) {
    if (!text.empty()) Set(feq, code, text);
  }
  void SetFlag(int feq, int code, bool on) {
    if (on) Set(feq, code, 1);
  }
  void SetFont(int feq, const FontDefinition& font) {
    // The size first: on the window it sets the metrics every later geometry write uses.
    if (font.size > 0) Set(feq, prop::kFontSize, font.size);
    SetText(feq, prop::kFontFace, font.face);
    if (font.style != 0) Set(feq, prop::kFontStyle, font.style);
  }
  void SetAlertKeys(int feq, const std::vector<int>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
      Set(feq, prop::kAlertKey, keys[i], static_cast<int>(i + 1));
    }
  }
  void SetAll(int feq, const std::vector<PropertySetting>& settings) {
    for (const PropertySetting& p : settings) Set(feq, p.code, p.value, p.index);
  }
  const Status& status() const { return status_; }

 private:
  Window& w_;
  Status status_;
};

void WriteWindow(const WindowDefinition& def, Writer& out) {
  out.SetFont(0, def.font);
  out.SetText(0, prop::kText, def.title);
  out.Set(0, prop::kXPos, def.x);
  out.Set(0, prop::kYPos, def.y);
  out.Set(0, prop::kWidth, def.width);
  out.Set(0, prop::kHeight, def.height);
  out.SetText(0, prop::kIcon, def.icon);
  out.SetText(0, prop::kHelpId, def.help);
  const WindowFlags& f = def.flags;
  out.SetFlag(0, prop::kMdiFrame, f.mdi_frame);
  out.SetFlag(0, prop::kMdiChild, f.mdi_child);
  out.SetFlag(0, prop::kModal, f.modal);
  out.SetFlag(0, prop::kResizable, f.resizable);
  out.SetFlag(0, prop::kSystemMenu, f.system_menu);
  out.SetFlag(0, prop::kMaxBox, f.max_box);
  out.SetFlag(0, prop::kMinBox, f.min_box);
  out.SetFlag(0, prop::kStatusBar, f.status_bar);
  out.SetAlertKeys(0, def.alert_keys);
  out.SetAll(0, def.properties);
}

void WriteControl(const Entry& e, Window& w, Writer& out) {
  const ControlDefinition& d = *e.def;
  const int feq = e.feq;
  if (!e.menu) {
    out.Set(feq, prop::kXPos, d.x);
    out.Set(feq, prop::kYPos, d.y);
    if (d.width >= 0) out.Set(feq, prop::kWidth, d.width);
    if (d.height >= 0) out.Set(feq, prop::kHeight, d.height);
    out.SetFlag(feq, prop::kFull, d.width == kFullSize || d.height == kFullSize);
  } else {
    out.Set(feq, prop::kMenuPosition, e.menu_position);
  }
  out.SetText(feq, prop::kText, d.text);
  out.SetFont(feq, d.font);
  if (d.text_colour) out.Set(feq, prop::kFontColour, *d.text_colour);
  if (d.background_colour) out.Set(feq, prop::kBackgroundColour, *d.background_colour);
  if (d.fill_colour) out.Set(feq, prop::kFillColour, *d.fill_colour);
  if (!e.choices.empty()) {
    out.Set(feq, prop::kChoiceList, JoinChoiceTexts(e.choices));
    std::vector<std::string> texts;
    for (size_t i = 0; i < e.choices.size(); ++i) {
      texts.push_back(e.choices[i].text);
      if (e.choices[i].value) {
        out.Set(feq, prop::kChoiceValue, *e.choices[i].value, static_cast<int>(i + 1));
      }
    }
    w.SetListSource(feq, std::make_shared<TextListSource>(std::move(texts)));
  }
  if (!d.from.empty()) w.SetListSource(feq, std::make_shared<TextListSource>(d.from));
  if (e.source) w.SetListSource(feq, e.source);
  out.SetText(feq, prop::kListFormat, d.format);
  out.SetText(feq, prop::kPicture, d.picture);
  if (d.value) out.Set(feq, prop::kValue, *d.value);
  if (d.false_value) out.Set(feq, prop::kFalseValue, *d.false_value);
  out.SetText(feq, prop::kIcon, d.icon);
  out.SetText(feq, prop::kTip, d.tip);
  out.SetText(feq, prop::kHelpId, d.help);
  out.SetText(feq, prop::kStatusMessage, d.message);
  out.SetFlag(feq, prop::kHidden, d.hidden);
  out.SetFlag(feq, prop::kDisabled, d.disabled);
  out.SetFlag(feq, prop::kSkip, d.skip);
  out.SetAlertKeys(feq, d.alert_keys);
  if (!d.action.empty())
    out.Set(feq, prop::kStdAction, StdActionName(*StdActionFromName(d.action)));
  out.SetFlag(feq, prop::kSeparator, d.separator);
  out.SetText(feq, prop::kUse, d.use);
  out.SetAll(feq, d.properties);
}

}  // namespace

Status CheckWindowDefinition(const WindowDefinition& def, const VarBindings& bindings) {
  Plan plan;
  return Planner(def, bindings).Run(&plan);
}

std::shared_ptr<Window> BuildWindow(const WindowDefinition& def, int owner_thread,
                                    const VarBindings& bindings, Status* status) {
  Status ignored;
  Status& st = status ? *status : ignored;
  Plan plan;
  st = Planner(def, bindings).Run(&plan);
  if (!st.ok()) return nullptr;

  std::shared_ptr<Window> w = OpenWindow(owner_thread, def.label);
  Writer out(*w);
  WriteWindow(def, out);
  for (int i : plan.add_order) {
    if (!out.status().ok()) break;
    const Entry& e = plan.entries[i];
    ControlSpec control;
    control.feq = e.feq;
    control.type = e.type;
    control.label = e.def->label;
    control.parent = e.parent_index < 0 ? 0 : plan.entries[e.parent_index].feq;
    control.var = e.var;
    st = w->AddControl(control);
    if (!st.ok()) break;
    WriteControl(e, *w, out);
  }
  if (st.ok()) st = out.status();
  if (!st.ok()) {
    st = Status::Failed("window " + def.label + ": " + st.message());
    CloseWindow(w->ref());
    return nullptr;
  }
  w->Display();
  return w;
}

}  // namespace rt
