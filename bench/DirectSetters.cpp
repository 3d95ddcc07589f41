#include "bench/DirectSetters.h"

#include <initializer_list>
#include <type_traits>
#include <variant>

#include "fw/ui/Canvas.h"
#include "fw/ui/Label.h"
#include "fw/ui/Listbox.h"
#include "fw/ui/PushButton.h"
#include "fw/ui/Separator.h"
#include "fw/ui/TextArea.h"
#include "fw/ui/TextField.h"
#include "fw/ui/Timer.h"
#include "fw/ui/Window.h"

namespace bench {
namespace {

template <class M>
struct SetterArgument;
template <class B, class A>
struct SetterArgument<void (B::*)(A)> {
    using Type = std::remove_cvref_t<A>;
};
template <class B, class A>
struct SetterArgument<void (B::*)(A) noexcept> {
    using Type = std::remove_cvref_t<A>;
};

// Calls Setter on a C directly; the value is taken as the setter's own parameter type.
template <class C, auto Setter>
void Call(fw::PropertyHolder& target, const fw::PropertyValue& value) {
    using Argument = typename SetterArgument<decltype(Setter)>::Type;
    (static_cast<C&>(target).*Setter)(std::get<Argument>(value));
}

struct Row {
    std::string_view name;
    SetterCall call;
};

SetterCall Find(std::string_view name, std::initializer_list<Row> rows) {
    for (const Row& row : rows) {
        if (row.name == name) {
            return row.call;
        }
    }
    return nullptr;
}

template <class C>
SetterCall ControlSetter(std::string_view n) {
    return Find(n, {{"Name", &Call<C, &fw::Control::SetName>},
                    {"Index", &Call<C, &fw::Control::SetIndex>}});
}

template <class C>
SetterCall RectSetter(std::string_view n) {
    using R = fw::RectControl;
    if (SetterCall call = ControlSetter<C>(n)) {
        return call;
    }
    return Find(n, {{"Left", &Call<C, &R::SetLeft>},
                    {"Top", &Call<C, &R::SetTop>},
                    {"Width", &Call<C, &R::SetWidth>},
                    {"Height", &Call<C, &R::SetHeight>},
                    {"LockLeft", &Call<C, &R::SetLockLeft>},
                    {"LockTop", &Call<C, &R::SetLockTop>},
                    {"LockRight", &Call<C, &R::SetLockRight>},
                    {"LockBottom", &Call<C, &R::SetLockBottom>},
                    {"TabPanelIndex", &Call<C, &R::SetTabPanelIndex>},
                    {"TabIndex", &Call<C, &R::SetTabIndex>},
                    {"TabStop", &Call<C, &R::SetTabStop>},
                    {"Visible", &Call<C, &R::SetVisible>},
                    {"HelpTag", &Call<C, &R::SetHelpTag>},
                    {"AutoDeactivate", &Call<C, &R::SetAutoDeactivate>},
                    {"Enabled", &Call<C, &R::SetEnabled>},
                    {"InitialParent", &Call<C, &R::SetInitialParent>}});
}

template <class C>
SetterCall FontSetter(std::string_view n) {
    using F = fw::FontControl;
    if (SetterCall call = RectSetter<C>(n)) {
        return call;
    }
    return Find(n, {{"TextFont", &Call<C, &F::SetTextFont>},
                    {"TextSize", &Call<C, &F::SetTextSize>},
                    {"TextUnit", &Call<C, &F::SetTextUnit>},
                    {"Bold", &Call<C, &F::SetBold>},
                    {"Italic", &Call<C, &F::SetItalic>},
                    {"Underline", &Call<C, &F::SetUnderline>}});
}

SetterCall LabelSetter(std::string_view n) {
    using L = fw::Label;
    if (SetterCall call = FontSetter<L>(n)) {
        return call;
    }
    return Find(n, {{"Text", &Call<L, &L::SetText>},
                    {"TextAlign", &Call<L, &L::SetTextAlign>},
                    {"TextColor", &Call<L, &L::SetTextColor>},
                    {"Multiline", &Call<L, &L::SetMultiline>},
                    {"MultiLine", &Call<L, &L::SetMultiline>},
                    {"Selectable", &Call<L, &L::SetSelectable>},
                    {"Transparent", &Call<L, &L::SetTransparent>},
                    {"DataSource", &Call<L, &L::SetDataSource>},
                    {"DataField", &Call<L, &L::SetDataField>}});
}

template <class C>
SetterCall TextEditSetter(std::string_view n) {
    using T = fw::TextEdit;
    if (SetterCall call = FontSetter<C>(n)) {
        return call;
    }
    return Find(n, {{"Border", &Call<C, &T::SetBorder>},
                    {"UseFocusRing", &Call<C, &T::SetUseFocusRing>},
                    {"TextColor", &Call<C, &T::SetTextColor>},
                    {"BackColor", &Call<C, &T::SetBackColor>},
                    {"Format", &Call<C, &T::SetFormat>},
                    {"Text", &Call<C, &T::SetText>},
                    {"Mask", &Call<C, &T::SetMask>},
                    {"ReadOnly", &Call<C, &T::SetReadOnly>},
                    {"LimitText", &Call<C, &T::SetLimitText>},
                    {"AcceptTabs", &Call<C, &T::SetAcceptTabs>},
                    {"Alignment", &Call<C, &T::SetAlignment>},
                    {"AutomaticallyCheckSpelling", &Call<C, &T::SetAutomaticallyCheckSpelling>},
                    {"DataSource", &Call<C, &T::SetDataSource>},
                    {"DataField", &Call<C, &T::SetDataField>}});
}

SetterCall TextFieldSetter(std::string_view n) {
    using T = fw::TextField;
    if (SetterCall call = TextEditSetter<T>(n)) {
        return call;
    }
    return Find(n,
                {{"Password", &Call<T, &T::SetPassword>}, {"CueText", &Call<T, &T::SetCueText>}});
}

SetterCall TextAreaSetter(std::string_view n) {
    using T = fw::TextArea;
    if (SetterCall call = TextEditSetter<T>(n)) {
        return call;
    }
    return Find(n, {{"Multiline", &Call<T, &T::SetMultiline>},
                    {"ScrollbarHorizontal", &Call<T, &T::SetScrollbarHorizontal>},
                    {"ScrollbarVertical", &Call<T, &T::SetScrollbarVertical>},
                    {"Styled", &Call<T, &T::SetStyled>},
                    {"HideSelection", &Call<T, &T::SetHideSelection>},
                    {"LineHeight", &Call<T, &T::SetLineHeight>},
                    {"LineSpacing", &Call<T, &T::SetLineSpacing>}});
}

SetterCall ListboxSetter(std::string_view n) {
    using L = fw::Listbox;
    if (SetterCall call = FontSetter<L>(n)) {
        return call;
    }
    return Find(n, {{"Border", &Call<L, &L::SetBorder>},
                    {"ColumnCount", &Call<L, &L::SetColumnCount>},
                    {"ColumnWidths", &Call<L, &L::SetColumnWidths>},
                    {"HasHeading", &Call<L, &L::SetHasHeading>},
                    {"UseFocusRing", &Call<L, &L::SetUseFocusRing>},
                    {"InitialValue", &Call<L, &L::SetInitialValue>},
                    {"HeadingIndex", &Call<L, &L::SetHeadingIndex>},
                    {"ScrollbarHorizontal", &Call<L, &L::SetScrollbarHorizontal>},
                    {"ScrollBarVertical", &Call<L, &L::SetScrollBarVertical>},
                    {"GridLinesHorizontal", &Call<L, &L::SetGridLinesHorizontal>},
                    {"GridLinesVertical", &Call<L, &L::SetGridLinesVertical>},
                    {"DefaultRowHeight", &Call<L, &L::SetDefaultRowHeight>},
                    {"_ScrollWidth", &Call<L, &L::Set_ScrollWidth>},
                    {"_ScrollOffset", &Call<L, &L::Set_ScrollOffset>},
                    {"Hierarchical", &Call<L, &L::SetHierarchical>},
                    {"EnableDrag", &Call<L, &L::SetEnableDrag>},
                    {"EnableDragReorder", &Call<L, &L::SetEnableDragReorder>},
                    {"RequiresSelection", &Call<L, &L::SetRequiresSelection>},
                    {"SelectionType", &Call<L, &L::SetSelectionType>},
                    {"ColumnsResizable", &Call<L, &L::SetColumnsResizable>},
                    {"AutoHideScrollbars", &Call<L, &L::SetAutoHideScrollbars>},
                    {"DataSource", &Call<L, &L::SetDataSource>},
                    {"DataField", &Call<L, &L::SetDataField>}});
}

SetterCall PushButtonSetter(std::string_view n) {
    using P = fw::PushButton;
    if (SetterCall call = FontSetter<P>(n)) {
        return call;
    }
    return Find(n, {{"Caption", &Call<P, &P::SetCaption>},
                    {"Default", &Call<P, &P::SetDefault>},
                    {"Cancel", &Call<P, &P::SetCancel>},
                    {"ButtonStyle", &Call<P, &P::SetButtonStyle>}});
}

SetterCall CanvasSetter(std::string_view n) {
    using C = fw::Canvas;
    if (SetterCall call = RectSetter<C>(n)) {
        return call;
    }
    return Find(n, {{"UseFocusRing", &Call<C, &C::SetUseFocusRing>},
                    {"AcceptFocus", &Call<C, &C::SetAcceptFocus>},
                    {"AcceptTabs", &Call<C, &C::SetAcceptTabs>},
                    {"DoubleBuffer", &Call<C, &C::SetDoubleBuffer>},
                    {"EraseBackground", &Call<C, &C::SetEraseBackground>},
                    {"Transparent", &Call<C, &C::SetTransparent>}});
}

SetterCall TimerSetter(std::string_view n) {
    using T = fw::Timer;
    if (SetterCall call = ControlSetter<T>(n)) {
        return call;
    }
    return Find(n, {{"Mode", &Call<T, &T::SetMode>}, {"Period", &Call<T, &T::SetPeriod>}});
}

SetterCall WindowSetter(std::string_view n) {
    using W = fw::Window;
    return Find(n, {{"Width", &Call<W, &W::SetWidth>},
                    {"Height", &Call<W, &W::SetHeight>},
                    {"MinWidth", &Call<W, &W::SetMinWidth>},
                    {"MinHeight", &Call<W, &W::SetMinHeight>},
                    {"MaxWidth", &Call<W, &W::SetMaxWidth>},
                    {"MaxHeight", &Call<W, &W::SetMaxHeight>},
                    {"Frame", &Call<W, &W::SetFrame>},
                    {"Title", &Call<W, &W::SetTitle>},
                    {"CloseButton", &Call<W, &W::SetCloseButton>},
                    {"Resizeable", &Call<W, &W::SetResizeable>},
                    {"MaximizeButton", &Call<W, &W::SetMaximizeButton>},
                    {"MinimizeButton", &Call<W, &W::SetMinimizeButton>},
                    {"FullScreenButton", &Call<W, &W::SetFullScreenButton>},
                    {"Composite", &Call<W, &W::SetComposite>},
                    {"MacProcID", &Call<W, &W::SetMacProcID>},
                    {"Placement", &Call<W, &W::SetPlacement>},
                    {"Visible", &Call<W, &W::SetVisible>},
                    {"LiveResize", &Call<W, &W::SetLiveResize>},
                    {"FullScreen", &Call<W, &W::SetFullScreen>},
                    {"MenuBarVisible", &Call<W, &W::SetMenuBarVisible>},
                    {"HasBackColor", &Call<W, &W::SetHasBackColor>},
                    {"BackColor", &Call<W, &W::SetBackColor>}});
}

}  // namespace

SetterCall DirectSetter(const fw::PropertyHolder& target, std::string_view name) {
    if (dynamic_cast<const fw::Label*>(&target) != nullptr) {
        return LabelSetter(name);
    }
    if (dynamic_cast<const fw::TextField*>(&target) != nullptr) {
        return TextFieldSetter(name);
    }
    if (dynamic_cast<const fw::TextArea*>(&target) != nullptr) {
        return TextAreaSetter(name);
    }
    if (dynamic_cast<const fw::Listbox*>(&target) != nullptr) {
        return ListboxSetter(name);
    }
    if (dynamic_cast<const fw::PushButton*>(&target) != nullptr) {
        return PushButtonSetter(name);
    }
    if (dynamic_cast<const fw::Canvas*>(&target) != nullptr) {
        return CanvasSetter(name);
    }
    if (dynamic_cast<const fw::Separator*>(&target) != nullptr) {
        return RectSetter<fw::Separator>(name);
    }
    if (dynamic_cast<const fw::Timer*>(&target) != nullptr) {
        return TimerSetter(name);
    }
    if (dynamic_cast<const fw::Window*>(&target) != nullptr) {
        return WindowSetter(name);
    }
    return nullptr;
}

}  // namespace bench
