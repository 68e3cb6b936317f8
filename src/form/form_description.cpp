#include "form/form_description.h"

#include <algorithm>

#include "platform/cp1250.h"

namespace zeb {

namespace {

constexpr const char* kHelpText =
    "Deník musí mít formát cabrillo.\n"
    "Po načtení deníku se automaticky \n"
    "nastaví konfigurace pro příslušný deník. \n"
    "Pohledem zkontrolujeme na panelu, zda \n"
    "je správně zobrazen přijatý call a číslo \n"
    "ZEB (nebo ekvivalentní přijatý údaj). \n"
    "Pokud to nesouhlasí, nejspíš jde o \n"
    "nějakou podstatnou chybu v deníku a \n"
    "měli bychom jej důkladně \n"
    "překontrolovat. Potom ještě máme \n"
    "možnost nastavit konfiguraci ručně, \n"
    "případně tuto konfiguraci si uložit do \n"
    "souboru pro příští načtení takto \n"
    "podivného deníku. Pokud v prvním řádku \n"
    "není údaj o přijatém číslu ZEB, můžeme si \n"
    "nechat zobrazit jiný řádek.\n"
    "Po nahrání deníku a nastavení \n"
    "konfigurace je možno spustit výpočet. \n"
    "Podrobný výpis řešení lze uložit do \n"
    "souboru a pokochat se jím.\n"
    "Program není určen pro výpočet SWL.";

constexpr const char* kAboutText = "ZEB contest ver. " ZEB_VERSION
                                   "\n"
                                   "Vyhodnocuje deníky ze závodů klubu ZEB:\n"
                                   "ZEB QSO party a dalších závodů, které\n"
                                   "se jedou podle stejných pravidel.\n"
                                   "\n"
                                   "Spojení se členem klubu ZEB je za 10\n"
                                   "bodů, spojení s nečlenem za 1 bod.\n"
                                   "Každé číslo ZEB je násobičem jednou\n"
                                   "za celý závod, na kterémkoli pásmu.\n"
                                   "Každá země DXCC je násobičem jednou\n"
                                   "na každém pásmu.\n"
                                   "Výsledek = součet bodů krát součet\n"
                                   "násobičů ZEB a DXCC.\n"
                                   "Opakované spojení se stejnou značkou\n"
                                   "na stejném pásmu (dubl) a spojení mimo\n"
                                   "pásma 10, 15, 20, 40 a 80 m (nebo jen\n"
                                   "80 m, je-li zaškrtnuto „Jen 80 m“) se\n"
                                   "nepočítají. Číslo ZEB přijaté na pásmu\n"
                                   "od dvou různých značek se označí\n"
                                   "a takové spojení platí jen 1 bod.\n"
                                   "\n"
                                   "Netestuje se datum, hodina, druh\n"
                                   "provozu ani platnost čísel ZEB.\n"
                                   "Přijaté číslo ZEB musí být zapsáno\n"
                                   "číslicemi, cokoli jiného se počítá\n"
                                   "jako nečlen (NM).\n"
                                   "Údaje v deníku musí být odděleny\n"
                                   "mezerami, tabulátor není přípustný.\n"
                                   "Tabulka prefixů je z roku 2024.\n"
                                   "\n"
                                   "Autor: vyhodnocovací tým ZEB";

FormControl control(std::string_view name, ControlKind kind, std::string_view parent,
                    const char* caption, int left, int top, int width, int height,
                    int tabOrder = FormControl::kNoTabOrder, int fontPoints = 0) {
    return FormControl{name,   kind,       parent,  utf8ToCp1250(caption), left, top, width,
                       height, fontPoints, tabOrder};
}

FormDescription describeForm() {
    using K = ControlKind;
    constexpr std::string_view form = kFormName;
    FormDescription d;
    d.caption = "ZEB contest ver. " ZEB_VERSION;
    d.left = 238;
    d.top = 209;
    d.width = 314;
    d.height = 454;
    d.fontFace = "MS Sans Serif";
    d.fontPoints = 8;
    d.alignedToTop = "PageControl1";
    d.controls = {
        control("PageControl1", K::PageControl, form, "", 0, 0, 298, 257, 0, 10),
        control("tabsoub", K::Page, "PageControl1", "Konfigurace", 0, 0, 0, 0, 0),
        control("Label2", K::Label, "tabsoub", "Číslo zobrazovaného řádku:", 24, 8, 0, 0),
        control("radek1", K::Edit, "tabsoub", "1", 200, 8, 33, 24, 3),
        control("konfigurace", K::GroupBox, "tabsoub", "Pozice sloupců v tom řádku", 24, 40, 241,
                121, 0),
        control("Label5", K::Label, "konfigurace", "start", 48, 24, 0, 0),
        control("Label7", K::Label, "konfigurace", "vzor", 128, 24, 0, 0),
        control("Label1", K::Label, "konfigurace", "call", 16, 40, 0, 0),
        control("cstart", K::Edit, "konfigurace", "55", 48, 40, 25, 24, 3),
        // Any sample of 11 characters, shown until the first log is loaded.
        control("cvzor", K::Edit, "konfigurace", "OK1ABC/TEST", 88, 40, 137, 24, 0),
        control("Label4", K::Label, "konfigurace", "ZEB", 16, 72, 0, 0),
        control("istart", K::Edit, "konfigurace", "73", 48, 72, 25, 24, 1),
        control("ivzor", K::Edit, "konfigurace", "NM", 88, 72, 137, 24, 2),
        control("Button3", K::Button, "tabsoub", "Načti konfiguraci", 40, 176, 89, 33, 2, 8),
        control("Button2", K::Button, "tabsoub", "Ulož konfiguaci", 160, 176, 89, 33, 1, 8),
        control("TabSheet2", K::Page, "PageControl1", "Návod", 0, 0, 0, 0, 1),
        control("Memo1", K::Memo, "TabSheet2", kHelpText, 16, 8, 265, 209, 0),
        control("TabSheet3", K::Page, "PageControl1", "O programu", 0, 0, 0, 0, 2),
        control("Memo2", K::Memo, "TabSheet3", kAboutText, 8, 24, 273, 201, 0),
        control("jen80", K::CheckBox, form, "Jen 80 m", 24, 272, 97, 17, 6),
        control("nactidenik", K::Button, form, "Načti deník", 16, 296, 75, 25, 2),
        control("bvypocet", K::Button, form, "Výpočet", 104, 296, 75, 25, 4),
        control("bukladani", K::Button, form, "ulož", 16, 328, 75, 25, 5),
        control("Button1", K::Button, form, "Konec", 104, 328, 75, 25, 1),
        control("qsos", K::Label, form, "", 192, 264, 0, 0),
        control("dubly", K::Label, form, "", 192, 280, 0, 0),
        control("body", K::Label, form, "", 192, 296, 0, 0),
        control("zeby", K::Label, form, "", 192, 312, 0, 0),
        control("dxcc", K::Label, form, "", 192, 328, 0, 0),
        control("celkem", K::Label, form, "", 192, 344, 0, 0),
        control("paska", K::ProgressBar, form, "", 16, 368, 161, 17, 3),
        control("povel", K::Label, form, "", 16, 384, 0, 0),
    };
    return d;
}

void walk(const FormDescription& form, std::string_view parent, std::string_view activePage,
          std::vector<const FormControl*>& order) {
    std::vector<const FormControl*> children;
    for (const FormControl& c : form.controls) {
        if (c.parent == parent && c.tabOrder != FormControl::kNoTabOrder &&
            (c.kind != ControlKind::Page || c.name == activePage)) {
            children.push_back(&c);
        }
    }
    std::stable_sort(
        children.begin(), children.end(),
        [](const FormControl* a, const FormControl* b) { return a->tabOrder < b->tabOrder; });
    for (const FormControl* c : children) {
        if (c->takesFocus()) {
            order.push_back(c);
        }
        walk(form, c->name, activePage, order);
    }
}

}  // namespace

bool FormControl::takesFocus() const {
    switch (kind) {
        case ControlKind::PageControl:
        case ControlKind::Edit:
        case ControlKind::Button:
        case ControlKind::CheckBox:
        case ControlKind::Memo:
            return true;
        case ControlKind::Page:
        case ControlKind::Label:
        case ControlKind::GroupBox:
        case ControlKind::ProgressBar:
            return false;
    }
    return false;
}

const FormControl* FormDescription::find(std::string_view name) const {
    for (const FormControl& c : controls) {
        if (c.name == name) {
            return &c;
        }
    }
    return nullptr;
}

int FormDescription::fontPointsOf(const FormControl& control) const {
    for (const FormControl* c = &control; c != nullptr; c = find(c->parent)) {
        if (c->fontPoints != 0) {
            return c->fontPoints;
        }
    }
    return fontPoints;
}

const FormDescription& formDescription() {
    static const FormDescription form = describeForm();
    return form;
}

std::vector<const FormControl*> tabOrder(const FormDescription& form, std::string_view activePage) {
    std::vector<const FormControl*> order;
    walk(form, kFormName, activePage, order);
    return order;
}

}  // namespace zeb
