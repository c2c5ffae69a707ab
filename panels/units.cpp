#include "units.h"

namespace morvane::panels {

// Each factor is 1 / (the unit's size in the base unit, from its
// definition), rounded once to the nearest double. US survey units for
// "mile(US)", "rod", "chain" and "township"; international feet for "acre"
// and "square mile"; the euro rates are the fixed ones.
const std::vector<UnitRow>& unitTable() {
    static const std::vector<UnitRow> rows = {
        {27, 1, " kilogram", 1.0},
        {26, 1, " miligram", 1000000.0},
        {25, 1, " gram", 1000.0},
        {24, 1, " carat", 5000.0},
        {23, 1, " ton (metric)", 0.001},
        {22, 1, " grain", 15432.35835294143},
        {21, 1, " ounce (troy)", 32.15074656862798},
        {20, 1, " ounce", 35.27396194958041},
        {19, 1, " pound", 2.2046226218487757},
        {18, 1, " pound (troy)", 2.6792288807189983},
        {17, 1, " pennyweight", 643.0149313725597},
        {16, 1, " slug", 0.06852176585679176},
        {15, 1, " ton (short)", 0.001102311310924388},
        {14, 1, " ton (long)", 0.0009842065276110606},
        {0, 2, " meter", 1.0},
        {1, 2, " angstrom", 10000000000.0},
        {2, 2, " micrometer", 1000000.0},
        {3, 2, " milimeter", 1000.0},
        {4, 2, " centimeter", 100.0},
        {5, 2, " kilometer", 0.001},
        {6, 2, " mil", 39370.07874015748},
        {7, 2, " inch", 39.37007874015748},
        {8, 2, " foot", 3.2808398950131235},
        {9, 2, " yard", 1.0936132983377078},
        {10, 2, " mile(US)", 0.0006213699494949494},
        {11, 2, " mile nautical", 0.0005399568034557236},
        {12, 2, " rod", 0.19883838383838384},
        {13, 2, " chain", 0.04970959595959596},
        {41, 3, " newton", 1.0},
        {40, 3, " dyne", 100000.0},
        {39, 3, " joule per cm", 0.01},
        {38, 3, " joule per m", 1.0},
        {37, 3, " kilonewtons", 0.001},
        {36, 3, " gram force", 101.97162129779282},
        {35, 3, " kilogram force", 0.10197162129779283},
        {34, 3, " kilopound", 0.00022480894309971047},
        {33, 3, " ounce force", 3.5969430895953676},
        {32, 3, " pound force", 0.22480894309971047},
        {31, 3, " poundal", 7.233013851209894},
        {30, 3, " ton force", 0.00011240447154985524},
        {55, 4, " square meter", 1.0},
        {54, 4, " barn", 1e28},
        {53, 4, " sq milimeter", 1000000.0},
        {52, 4, " are", 0.01},
        {51, 4, " hectare", 0.0001},
        {50, 4, " sq. kilometer", 1e-6},
        {49, 4, " circular mil", 1973525241.3899848},
        {48, 4, " darcy", 1013250000000.0},
        {47, 4, " square inch", 1550.0031000062},
        {46, 4, " square foot", 10.763910416709722},
        {45, 4, " square yard", 1.1959900463010802},
        {44, 4, " acre", 0.0002471053814671653},
        {43, 4, " square mile", 3.8610215854244587e-7},
        {42, 4, " township", 1.0725017059315446e-8},
        {69, 5, " pascal", 1.0},
        {68, 5, " kilopascal", 0.001},
        {67, 5, " bar", 1e-5},
        {66, 5, " milibar", 0.01},
        {65, 5, " microbar", 10.0},
        {64, 5, " atmosphere (std)", 9.869232667160129e-6},
        {63, 5, " inch of water 39.2F", 0.00401474213311279},
        {62, 5, " in of mercury 0ºC", 0.0002952998330101009},
        {61, 5, " pound f per sq in", 0.0001450377377302092},
        {60, 5, " pound f p sq foot", 0.020885434233150126},
        {59, 5, " kg f per sq cm.", 1.0197162129779282e-5},
        {58, 5, " kg f per sq. m.", 0.10197162129779283},
        {57, 5, " torr", 0.007500616827041697},
        {83, 6, " joule", 1.0},
        {82, 6, " erg", 10000000.0},
        {81, 6, " electronvolt", 6.241509744511526e18},
        {80, 6, " calorie (mean)", 0.23866234528713468},
        {79, 6, " calorie (term)", 0.2390057361376673},
        {78, 6, " calorie (nutrition)", 0.0002390057361376673},
        {77, 6, " ton (TNT)", 2.390057361376673e-10},
        {76, 6, " wattsecond", 1.0},
        {75, 6, " watthour", 0.0002777777777777778},
        {74, 6, " kilowatthour", 2.7777777777777776e-7},
        {73, 6, " foot pound force", 0.7375621492772654},
        {72, 6, " btu (int'l)", 0.0009478171203133172},
        {71, 6, " btu (mean)", 0.0009470862890317937},
        {70, 6, " btu (term)", 0.0009484514147532975},
        {85, 7, " Euro", 1.0},
        {90, 7, " Luxembourg", 40.3399},
        {95, 7, " Belgium", 40.3399},
        {94, 7, " Germany", 1.95583},
        {93, 7, " France", 6.55957},
        {92, 7, " Ireland", 0.787564},
        {91, 7, " Italy", 1936.27},
        {84, 7, " Spain", 166.386},
        {89, 7, " Holland", 2.20371},
        {88, 7, " Austria", 13.7603},
        {87, 7, " Portugal", 200.482},
        {86, 7, " Finland", 5.94573},
    };
    return rows;
}

const std::vector<CategoryRow>& categoryTable() {
    static const std::vector<CategoryRow> rows = {
        {0, " Temperature", "1", true}, {1, " Mass", "2", true},     {2, " Distance", "3", true},
        {3, " Force", "4", true},       {4, " Area", "5", true},     {5, " Pressure", "6", true},
        {6, " Energy", "7", true},      {7, " EU money", "8", true}, {8, " Force", "9", false},
        {9, " Velocity", "10", false},
    };
    return rows;
}

const std::vector<std::string_view>& temperatureScales() {
    static const std::vector<std::string_view> rows = {" fahrenheit", " rankine", " celsius", " kelvin"};
    return rows;
}

}  // namespace morvane::panels
