// property_lists: the 49 declared property lists of the game (the main window's own, its 45
// controls', the result window's and its two controls') applied to fresh objects as the game
// applies them; beside it the same values set through the layer's C++ setters one by one,
// decoded beforehand. The fresh objects are made outside the timing and have no widget yet, so
// both sides time the layer's own work.
//
// A declared list is read once, at its first application, and every later one sets the values
// kept from that reading: that is what property_lists/ours times, as when the result window
// opens again after each game. property_lists/first_reading times the first application of
// each list, reading included, through lists of the same bytes that have never been applied.
#include <memory>
#include <string>
#include <vector>

#include "bench/DirectSetters.h"
#include "bench/Measurements.h"
#include "fw/properties/DeclaredPropertyList.h"
#include "fw/properties/PropertyList.h"
#include "fw/ui/Canvas.h"
#include "fw/ui/Label.h"
#include "fw/ui/Listbox.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/Separator.h"
#include "fw/ui/TextArea.h"
#include "fw/ui/TextField.h"
#include "fw/ui/Timer.h"
#include "fw/ui/Window.h"
#include "game/CardCanvases.h"
#include "game/MainWindowDeclarations.h"
#include "game/ResultWindowDeclarations.h"
#include "game/SetProperties.h"

namespace bench {
namespace {

using game::ControlKind;

template <class C>
fw::Ref<fw::Control> NewControl(fw::Window& window) {
    return window.__New<C>();
}

template <class C>
fw::Ref<fw::Control> NewMember(fw::Window& window, int64_t index) {
    fw::Ref<C> member = window.__New<C>();
    member->SetIndex(index);
    return member;
}

fw::Ref<fw::Control> NewControl(fw::Window& window, const game::ControlDeclaration& d) {
    switch (d.kind) {
        case ControlKind::CardCanvas:
            return NewMember<game::CardCanvas>(window, d.index);
        case ControlKind::FudaCanvas:
            return NewMember<game::FudaCanvas>(window, d.index);
        case ControlKind::Canvas:
            return NewControl<fw::Canvas>(window);
        case ControlKind::Label:
            return NewControl<fw::Label>(window);
        case ControlKind::TextField:
            return NewControl<fw::TextField>(window);
        case ControlKind::TextArea:
            return NewControl<fw::TextArea>(window);
        case ControlKind::Listbox:
            return NewControl<fw::Listbox>(window);
        case ControlKind::PushButton:
            return NewControl<fw::PushButton>(window);
        case ControlKind::Separator:
            return NewControl<fw::Separator>(window);
        case ControlKind::Timer:
            return NewControl<fw::Timer>(window);
    }
    return nullptr;
}

// The objects the 49 lists go to, in the order the game applies them, each registered with its
// window under its name as the game registers it.
struct FreshTargets {
    FreshTargets() {
        main = fw::MakeRef<fw::Window>();
        targets.push_back(main.Get());
        for (const game::ControlDeclaration& d : game::MainWindowControls()) {
            fw::Ref<fw::Control> control = NewControl(*main, d);
            main->_AddControl(d.name, control);
            targets.push_back(control.Get());
        }
        result = fw::MakeRef<fw::Window>();
        targets.push_back(result.Get());
        fw::Ref<fw::Label> message = result->__New<fw::Label>();
        result->_AddControl("Message", message);
        targets.push_back(message.Get());
        fw::Ref<fw::PushButton> ok = result->__New<fw::PushButton>();
        result->_AddControl("OKButton", ok);
        targets.push_back(ok.Get());
    }

    fw::Ref<fw::Window> main;
    fw::Ref<fw::Window> result;
    std::vector<fw::PropertyHolder*> targets;  // held by the windows
};

// The 49 lists, in the same order as FreshTargets' targets.
std::vector<const fw::DeclaredPropertyList*> DeclaredLists() {
    std::vector<const fw::DeclaredPropertyList*> lists = {&game::MainWindowPropertyList()};
    for (const game::ControlDeclaration& d : game::MainWindowControls()) {
        lists.push_back(&d.propertyList());
    }
    lists.push_back(&game::ResultWindowPropertyList());
    lists.push_back(&game::MessageLabelPropertyList());
    lists.push_back(&game::OKButtonPropertyList());
    return lists;
}

struct Step {
    SetterCall call;
    const fw::PropertyValue* value;
};

// Every list decoded once, each entry paired with its direct setter; empty when some entry has
// no setter here.
struct DirectPlan {
    explicit DirectPlan(const std::vector<const fw::DeclaredPropertyList*>& lists) {
        const FreshTargets types;
        decoded.reserve(lists.size());
        for (size_t i = 0; i < lists.size(); ++i) {
            decoded.push_back(fw::ReadPropertyList(lists[i]->Bytes(), *types.targets[i]));
        }
        for (size_t i = 0; i < lists.size(); ++i) {
            std::vector<Step>& target = steps.emplace_back();
            for (const fw::PropertyEntry& entry : decoded[i]) {
                SetterCall call = DirectSetter(*types.targets[i], entry.name);
                if (call == nullptr) {
                    missing = entry.name;
                    return;
                }
                target.push_back({call, &entry.value});
            }
        }
    }

    std::vector<std::vector<fw::PropertyEntry>> decoded;
    std::vector<std::vector<Step>> steps;
    std::string missing;
};

// Both ways must leave every declared property with the same value.
bool SameValues(const FreshTargets& a, const FreshTargets& b, const DirectPlan& plan) {
    for (size_t i = 0; i < plan.decoded.size(); ++i) {
        for (const fw::PropertyEntry& entry : plan.decoded[i]) {
            const auto left =
                static_cast<const fw::PropertyHolder*>(a.targets[i])->GetProperty(entry.name);
            const auto right =
                static_cast<const fw::PropertyHolder*>(b.targets[i])->GetProperty(entry.name);
            if (!left || left != right || *left != entry.value) {
                return false;
            }
        }
    }
    return true;
}

void ApplyLists(FreshTargets& fresh, const std::vector<const fw::DeclaredPropertyList*>& lists) {
    for (size_t i = 0; i < lists.size(); ++i) {
        game::_SetProperties(*fresh.targets[i], *lists[i]);
    }
}

void ApplyDirectly(FreshTargets& fresh, const DirectPlan& plan) {
    for (size_t i = 0; i < plan.steps.size(); ++i) {
        fw::PropertyHolder& target = *fresh.targets[i];
        for (const Step& step : plan.steps[i]) {
            step.call(target, *step.value);
        }
    }
}

// Lists of the same bytes as the declared ones, never applied yet.
struct UnreadLists {
    explicit UnreadLists(const std::vector<const fw::DeclaredPropertyList*>& declared) {
        for (const fw::DeclaredPropertyList* list : declared) {
            owned.push_back(std::make_unique<fw::DeclaredPropertyList>(list->Bytes()));
            lists.push_back(owned.back().get());
        }
    }

    std::vector<std::unique_ptr<fw::DeclaredPropertyList>> owned;
    std::vector<const fw::DeclaredPropertyList*> lists;
};

// Each call applies the lists to fresh objects made just before it, outside the timing; the
// objects of the call before are let go there too.
class PropertyLists : public Comparison {
public:
    PropertyLists() : lists_(DeclaredLists()), plan_(lists_) {
        if (!plan_.missing.empty()) {
            Fail("no direct setter for " + plan_.missing);
        }
    }

    void SampleOurs(Stopwatch& watch, int64_t calls) override {
        for (int64_t call = 0; call < calls; ++call) {
            oursTargets_ = std::make_unique<FreshTargets>();
            const std::vector<const fw::DeclaredPropertyList*>& lists = ListsForNextCall();
            watch.Start();
            ApplyLists(*oursTargets_, lists);
            watch.Stop();
        }
    }

    void SampleBaseline(Stopwatch& watch, int64_t calls) override {
        if (!Failure().empty()) {
            return;
        }
        for (int64_t call = 0; call < calls; ++call) {
            directTargets_ = std::make_unique<FreshTargets>();
            watch.Start();
            ApplyDirectly(*directTargets_, plan_);
            watch.Stop();
        }
    }

    void CheckAfterwards() override {
        if (oursTargets_ != nullptr) {
            CheckValues(*oursTargets_, lists_);
        }
    }

protected:
    // The lists the next call of ours applies: the declared ones, read at their first
    // application in this process and set from what that reading kept ever after.
    virtual const std::vector<const fw::DeclaredPropertyList*>& ListsForNextCall() {
        return lists_;
    }

    // Fails the comparison unless the lists gave the same values as the direct setters.
    void CheckValues(const FreshTargets& applied,
                     const std::vector<const fw::DeclaredPropertyList*>& lists) {
        const DirectPlan plan(lists);
        FreshTargets direct;
        ApplyDirectly(direct, plan);
        if (!plan.missing.empty() || !SameValues(applied, direct, plan)) {
            Fail("the lists did not give the declared values");
        }
    }

    const std::vector<const fw::DeclaredPropertyList*> lists_;

private:
    const DirectPlan plan_;
    std::unique_ptr<FreshTargets> oursTargets_;
    std::unique_ptr<FreshTargets> directTargets_;
};

// Lists of the same bytes as the declared ones, never applied before the call, so that each
// call reads every list.
class PropertyListsFirstReading final : public PropertyLists {
protected:
    const std::vector<const fw::DeclaredPropertyList*>& ListsForNextCall() override {
        unread_ = std::make_unique<UnreadLists>(lists_);
        return unread_->lists;
    }

private:
    std::unique_ptr<UnreadLists> unread_;
};

}  // namespace

std::unique_ptr<Comparison> MakePropertyLists() {
    return std::make_unique<PropertyLists>();
}

std::unique_ptr<Comparison> MakePropertyListsFirstReading() {
    return std::make_unique<PropertyListsFirstReading>();
}

}  // namespace bench
