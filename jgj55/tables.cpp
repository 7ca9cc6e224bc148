#include "jgj55/tables.h"

#include "jgj55/rounding.h"

namespace jgj55 {

namespace {

std::string tenths(int value) {
    return shortestDecimal(value / 10.0);
}
std::string hundredthsText(int value) {
    // Coefficients are printed with two decimals, as the standard lists them.
    std::string text = shortestDecimal(value / 100.0);
    if (text.find('.') == std::string::npos) {
        text += ".";
    }
    while (text.size() - text.find('.') < 3) {
        text += '0';
    }
    return text;
}
std::string range(int lower, int upper) {
    return lower == upper ? hundredthsText(lower)
                          : hundredthsText(lower) + "～" + hundredthsText(upper);
}

PrintedTable gammaTable() {
    PrintedTable t{.title = std::string(kGammaTable),
                   .header = {"掺量（%）", "粉煤灰影响系数 γf", "粒化高炉矿渣粉影响系数 γs"},
                   .rows = {}};
    for (const GammaRow& slag : kSlagRows) {
        std::string flyAsh = "—";
        for (const GammaRow& f : kFlyAshRows) {
            if (f.dosagePercent == slag.dosagePercent) {
                flyAsh = range(f.lowerHundredth, f.upperHundredth);
            }
        }
        t.rows.push_back({std::to_string(slag.dosagePercent), flyAsh,
                          range(slag.lowerHundredth, slag.upperHundredth)});
    }
    return t;
}

// The words of a printed table; the call names each.
// NOLINTBEGIN(bugprone-easily-swappable-parameters)
PrintedTable waterTable(const std::array<WaterTable, 2>& tables, std::string_view title,
                        std::string_view rowName, std::string_view unit) {
    // NOLINTEND(bugprone-easily-swappable-parameters)
    PrintedTable t{.title = std::string(title), .header = {std::string(rowName)}, .rows = {}};
    for (const WaterTable& table : tables) {
        for (int c = 0; c < table.columns; ++c) {
            t.header.push_back(std::string(stoneName(table.stone)) + " " +
                               tenths(table.sizeTenthMm[static_cast<std::size_t>(c)]) + " mm");
        }
    }
    for (int r = 0; r < tables[0].rowCount; ++r) {
        const auto row = static_cast<std::size_t>(r);
        std::vector<std::string> cells{std::to_string(tables[0].rows[row].from) + "～" +
                                       std::to_string(tables[0].rows[row].to) + " " +
                                       std::string(unit)};
        for (const WaterTable& table : tables) {
            for (int c = 0; c < table.columns; ++c) {
                cells.push_back(std::to_string(table.rows[row].water[static_cast<std::size_t>(c)]));
            }
        }
        t.rows.push_back(std::move(cells));
    }
    return t;
}

// Table 3.0.5-1 or 3.0.5-2: one row per admixture and ratio, a column per
// cement.
PrintedTable admixtureLimitTable(Structure structure, std::string_view title) {
    PrintedTable t{.title = std::string(title),
                   .header = {"矿物掺合料种类", "水胶比", "硅酸盐水泥（P·I、P·II）（%）",
                              "普通硅酸盐水泥（P·O）（%）"},
                   .rows = {}};
    const std::string bound = hundredthsText(kAdmixtureRatioBoundHundredth);
    for (const AdmixtureLimitRow& row : kAdmixtureLimits) {
        if (row.structure != structure) {
            continue;
        }
        const std::string name(mineralName(row.mineral));
        t.rows.push_back(
            {name, "≤ " + bound, std::to_string(row.upTo[0]), std::to_string(row.upTo[1])});
        t.rows.push_back(
            {name, "> " + bound, std::to_string(row.above[0]), std::to_string(row.above[1])});
    }
    return t;
}

} // namespace

std::vector<PrintedTable> printedTables() {
    std::vector<PrintedTable> out;
    {
        PrintedTable t{.title = std::string(kSigmaTable),
                       .header = {"混凝土强度标准值 fcu,k（MPa）", "σ（MPa）"},
                       .rows = {}};
        int from = 0;
        for (const SigmaRow& row : kSigmaRows) {
            t.rows.push_back(
                {from == 0 ? "≤ " + std::to_string(row.fcukUpTo)
                           : std::to_string(from) + " 以上至 " + std::to_string(row.fcukUpTo),
                 tenths(row.sigmaTenth)});
            from = row.fcukUpTo;
        }
        t.rows.push_back({"> " + std::to_string(from), tenths(kSigmaAboveTenth)});
        out.push_back(std::move(t));
    }
    {
        PrintedTable t{.title = std::string(kGammaCTable),
                       .header = {"水泥强度等级值 fce,g（MPa）", "富余系数 γc"},
                       .rows = {}};
        for (const GammaCRow& row : kGammaCRows) {
            t.rows.push_back({tenths(row.fcegTenth), hundredthsText(row.gammaHundredth)});
        }
        out.push_back(std::move(t));
    }
    out.push_back(gammaTable());
    {
        PrintedTable t{
            .title = std::string(kAlphaTable), .header = {"粗骨料品种", "αa", "αb"}, .rows = {}};
        for (const AlphaRow& row : kAlphaRows) {
            t.rows.push_back({std::string(stoneName(row.stone)),
                              hundredthsText(row.alphaAHundredth),
                              hundredthsText(row.alphaBHundredth)});
        }
        out.push_back(std::move(t));
    }
    {
        PrintedTable t{.title = std::string(kDurabilityTable),
                       .header = {"环境类别", "最大水胶比", "最低强度等级"},
                       .rows = {}};
        for (const DurabilityRow& row : kDurabilityRows) {
            t.rows.push_back({std::string(row.name), hundredthsText(row.maxWaterBinderHundredth),
                              "C" + std::to_string(row.minimumClass)});
        }
        out.push_back(std::move(t));
    }
    out.push_back(waterTable(kPlasticWater, kPlasticWaterTable, "坍落度", "mm"));
    out.push_back(waterTable(kDryWater, kDryWaterTable, "维勃稠度", "s"));
    {
        PrintedTable t{.title = std::string(kMinimumBinderTable),
                       .header = {"最大水胶比", "素混凝土", "钢筋混凝土", "预应力混凝土"},
                       .rows = {}};
        int previous = 0;
        for (const MinimumBinderRow& row : kMinimumBinderRows) {
            std::vector<std::string> cells{row.waterBinderUpToHundredth != 0
                                               ? "≤ " + hundredthsText(row.waterBinderUpToHundredth)
                                               : "> " + hundredthsText(previous)};
            for (const int binder : row.binder) {
                cells.push_back(std::to_string(binder));
            }
            previous = row.waterBinderUpToHundredth;
            t.rows.push_back(std::move(cells));
        }
        out.push_back(std::move(t));
    }
    {
        PrintedTable t{.title = std::string(kSandRatioTable), .header = {"水胶比"}, .rows = {}};
        for (const SandRatioTable& table : kSandRatio) {
            for (const int size : table.sizeTenthMm) {
                t.header.push_back(std::string(stoneName(table.stone)) + " " + tenths(size) +
                                   " mm");
            }
        }
        for (std::size_t r = 0; r < kSandRatio[0].waterBinderHundredth.size(); ++r) {
            std::vector<std::string> cells{hundredthsText(kSandRatio[0].waterBinderHundredth[r])};
            for (const SandRatioTable& table : kSandRatio) {
                for (const SandRatioCell& cell : table.cells[r]) {
                    cells.push_back(std::to_string(cell.lower) + "～" + std::to_string(cell.upper));
                }
            }
            t.rows.push_back(std::move(cells));
        }
        out.push_back(std::move(t));
    }
    out.push_back(admixtureLimitTable(Structure::Reinforced, kReinforcedAdmixtureTable));
    out.push_back(admixtureLimitTable(Structure::Prestressed, kPrestressedAdmixtureTable));
    return out;
}

std::string_view stoneName(Stone stone) {
    return stone == Stone::Crushed ? "碎石" : "卵石";
}

std::string_view cementGradeName(CementGrade g) {
    switch (g) {
    case CementGrade::G32_5:
        return "32.5";
    case CementGrade::G42_5:
        return "42.5";
    case CementGrade::G52_5:
        return "52.5";
    }
    return "";
}

std::string_view cementTypeName(CementType t) {
    static constexpr std::array<std::string_view, 8> kNames = {"P·I",   "P·II", "P·O", "P·S·A",
                                                               "P·S·B", "P·P",  "P·F", "P·C"};
    return kNames.at(static_cast<std::size_t>(t));
}

std::string_view mineralName(Mineral m) {
    switch (m) {
    case Mineral::FlyAsh:
        return "粉煤灰";
    case Mineral::Slag:
        return "粒化高炉矿渣粉";
    case Mineral::Combined:
        return "复合掺合料";
    }
    return "";
}

std::string_view flyAshGradeName(FlyAshGrade g) {
    switch (g) {
    case FlyAshGrade::I:
        return "I";
    case FlyAshGrade::II:
        return "II";
    case FlyAshGrade::III:
        return "III";
    }
    return "";
}

std::string_view slagGradeName(SlagGrade g) {
    switch (g) {
    case SlagGrade::S75:
        return "S75";
    case SlagGrade::S95:
        return "S95";
    case SlagGrade::S105:
        return "S105";
    }
    return "";
}

std::string_view structureName(Structure s) {
    switch (s) {
    case Structure::Plain:
        return "素混凝土";
    case Structure::Reinforced:
        return "钢筋混凝土";
    case Structure::Prestressed:
        return "预应力混凝土";
    }
    return "";
}

std::string_view environmentName(Environment e) {
    for (const DurabilityRow& row : kDurabilityRows) {
        if (row.environment == e) {
            return row.name;
        }
    }
    return "";
}

std::string_view methodName(Method m) {
    return m == Method::Mass ? "质量法" : "体积法";
}

} // namespace jgj55
