#include "admin/DemoCatalog.h"

#include <QStringList>
#include <cmath>

namespace admin::demo {

namespace {

enum Unit {
    kTablet = 1, kCapsule, kAmpule, kVial, kBottle, kBag, kPiece, kBox, kPack, kRoll, kPair, kTube, kSachet,
    kUnit, kSet, kReam, kGallon, kNebule, kSuppository, kDozen, kKit
};

// A generic medicine and the strengths and forms it is stocked in; the base
// price is the price of one tablet-sized unit, scaled by form below.
struct Drug { const char* name; const char* node; const char* forms; double basePrice; };

// Supplies: one item per variant, the price rising a little per variant.
struct Supply { const char* name; const char* variants; const char* classification; int unit; int packing;
                double price; const char* supplier; };

struct FormTraits { int unit; int packing; const char* oralInject; double priceFactor; };

const Drug kDrugs[] = {
    {"AMOXICILLIN", "1.1", "250MG CAPSULE;500MG CAPSULE;250MG/5ML SUSPENSION 60ML", 3.5},
    {"AMPICILLIN", "1.1", "500MG CAPSULE;500MG VIAL;1G VIAL", 4},
    {"CO-AMOXICLAV", "1.1", "625MG TABLET;1G TABLET;1.2G VIAL", 28},
    {"PIPERACILLIN + TAZOBACTAM", "1.1", "4.5G VIAL", 45},
    {"CEFALEXIN", "1.2", "500MG CAPSULE;250MG/5ML SUSPENSION 60ML", 6},
    {"CEFUROXIME", "1.2", "500MG TABLET;750MG VIAL;1.5G VIAL", 18},
    {"CEFTRIAXONE", "1.2", "1G VIAL;2G VIAL", 8},
    {"AZITHROMYCIN", "1.3", "500MG TABLET;200MG/5ML SUSPENSION 15ML;500MG VIAL", 30},
    {"CIPROFLOXACIN", "1.4", "500MG TABLET;200MG/100ML IV INFUSION", 7.5},
    {"LEVOFLOXACIN", "1.4", "500MG TABLET;750MG TABLET;500MG/100ML IV INFUSION", 19},
    {"METRONIDAZOLE", "1.5", "500MG TABLET;500MG/100ML IV INFUSION;125MG/5ML SUSPENSION 60ML", 3},
    {"COTRIMOXAZOLE", "1.5", "800MG/160MG TABLET;200MG/40MG/5ML SUSPENSION 60ML", 3},
    {"GENTAMICIN", "1.5", "80MG/2ML AMPULE", 2},
    {"VANCOMYCIN", "1.5", "500MG VIAL;1G VIAL", 28},
    {"MEROPENEM", "1.5", "1G VIAL", 75},
    {"CLINDAMYCIN", "1.5", "300MG CAPSULE;150MG/ML AMPULE 4ML", 18},
    {"FLUCONAZOLE", "1.6", "150MG CAPSULE;200MG/100ML IV INFUSION", 25},
    {"CLOTRIMAZOLE", "1.6", "1% CREAM 10G;100MG VAGINAL TABLET", 9},
    {"ACICLOVIR", "1.7", "400MG TABLET;800MG TABLET;5% CREAM 5G", 12},
    {"RIFAMPICIN + ISONIAZID", "1.8", "150MG/75MG TABLET", 5},
    {"ISONIAZID", "1.8", "300MG TABLET", 2},
    {"AMLODIPINE", "2.1", "5MG TABLET;10MG TABLET", 3},
    {"LOSARTAN", "2.1", "50MG TABLET;100MG TABLET", 5},
    {"METOPROLOL", "2.1", "50MG TABLET;100MG TABLET", 3},
    {"CAPTOPRIL", "2.1", "25MG TABLET", 2},
    {"HYDRALAZINE", "2.1", "20MG/ML AMPULE", 11},
    {"CARVEDILOL", "2.1", "6.25MG TABLET;25MG TABLET", 6},
    {"ISOSORBIDE DINITRATE", "2.2", "5MG SUBLINGUAL TABLET", 2},
    {"ATORVASTATIN", "2.3", "20MG TABLET;40MG TABLET;80MG TABLET", 8},
    {"ASPIRIN", "2.4", "80MG TABLET", 1},
    {"CLOPIDOGREL", "2.4", "75MG TABLET", 10},
    {"HEPARIN SODIUM", "2.4", "5000 UNITS/ML VIAL 5ML", 16},
    {"ENOXAPARIN", "2.4", "40MG/0.4ML PREFILLED SYRINGE;60MG/0.6ML PREFILLED SYRINGE", 300},
    {"TRANEXAMIC ACID", "2.4", "500MG CAPSULE;500MG/5ML AMPULE", 6},
    {"FUROSEMIDE", "2.5", "20MG TABLET;40MG TABLET;20MG/2ML AMPULE", 2},
    {"DOPAMINE", "2.6", "200MG/5ML AMPULE", 11},
    {"NOREPINEPHRINE", "2.6", "4MG/4ML AMPULE", 30},
    {"DIGOXIN", "2.6", "250MCG TABLET", 4},
    {"PHENYTOIN", "3.1", "100MG CAPSULE;50MG/ML AMPULE 2ML", 5},
    {"LEVETIRACETAM", "3.1", "500MG TABLET;500MG/5ML VIAL", 25},
    {"VALPROIC ACID", "3.1", "500MG TABLET;250MG/5ML SYRUP 120ML", 15},
    {"DIAZEPAM", "3.2", "5MG TABLET;10MG/2ML AMPULE", 5},
    {"MIDAZOLAM", "3.2", "5MG/ML AMPULE 3ML;15MG/3ML AMPULE", 11},
    {"HALOPERIDOL", "3.3", "5MG TABLET;5MG/ML AMPULE", 4},
    {"LIDOCAINE", "3.4", "2% VIAL 50ML;2% JELLY 30G;10% SPRAY 50ML", 6},
    {"BUPIVACAINE", "3.4", "0.5% SPINAL AMPULE 4ML", 15},
    {"PROPOFOL", "3.4", "10MG/ML AMPULE 20ML", 22},
    {"OMEPRAZOLE", "4.1", "20MG CAPSULE;40MG CAPSULE;40MG VIAL", 4},
    {"PANTOPRAZOLE", "4.1", "40MG TABLET;40MG VIAL", 12},
    {"ALUMINUM HYDROXIDE + MAGNESIUM HYDROXIDE", "4.1", "225MG/200MG/5ML SUSPENSION 120ML", 5},
    {"METOCLOPRAMIDE", "4.2", "10MG TABLET;10MG/2ML AMPULE", 3},
    {"ONDANSETRON", "4.2", "8MG TABLET;4MG/2ML AMPULE", 6},
    {"LACTULOSE", "4.3", "3.3G/5ML SYRUP 120ML", 15},
    {"BISACODYL", "4.3", "5MG TABLET;10MG SUPPOSITORY", 5},
    {"ORAL REHYDRATION SALTS", "4.3", "20.5G SACHET", 5},
    {"HYOSCINE N-BUTYLBROMIDE", "4.4", "10MG TABLET;20MG/ML AMPULE", 8},
    {"SALBUTAMOL", "5.1", "2MG TABLET;2.5MG/2.5ML NEBULE;100MCG INHALER 200 DOSES", 12},
    {"IPRATROPIUM + SALBUTAMOL", "5.1", "500MCG/2.5MG NEBULE", 9},
    {"SALMETEROL + FLUTICASONE", "5.1", "25MCG/250MCG INHALER 120 DOSES", 22},
    {"CETIRIZINE", "5.2", "10MG TABLET;5MG/5ML SYRUP 60ML", 3},
    {"DIPHENHYDRAMINE", "5.2", "50MG CAPSULE;50MG/ML AMPULE", 4},
    {"AMBROXOL", "5.3", "30MG TABLET;15MG/5ML SYRUP 60ML", 3},
    {"METFORMIN", "6.1", "500MG TABLET;850MG TABLET", 2},
    {"GLICLAZIDE", "6.1", "80MG TABLET;30MG MR TABLET", 5},
    {"INSULIN HUMAN REGULAR", "6.1", "100 IU/ML VIAL 10ML", 45},
    {"INSULIN GLARGINE", "6.1", "100 IU/ML PREFILLED PEN 3ML", 1100},
    {"HYDROCORTISONE", "6.2", "100MG VIAL;250MG VIAL", 12},
    {"DEXAMETHASONE", "6.2", "500MCG TABLET;4MG/ML AMPULE", 2},
    {"PREDNISONE", "6.2", "5MG TABLET;20MG TABLET", 2},
    {"METHYLPREDNISOLONE", "6.2", "4MG TABLET;16MG TABLET;500MG VIAL", 18},
    {"LEVOTHYROXINE", "6.3", "50MCG TABLET;100MCG TABLET", 4},
    {"POTASSIUM CHLORIDE", "7.2", "750MG DURULE TABLET;40MEQ/20ML VIAL", 3},
    {"SODIUM BICARBONATE", "7.2", "8.4% AMPULE 50ML", 9},
    {"CALCIUM GLUCONATE", "7.2", "10% AMPULE 10ML", 5},
    {"MAGNESIUM SULFATE", "7.2", "250MG/ML AMPULE 10ML;500MG/ML AMPULE 2ML", 5},
    {"DEXTROSE 50%", "7.2", "50ML VIAL", 4.5},
    {"ASCORBIC ACID", "8", "500MG TABLET;100MG/5ML SYRUP 120ML", 2},
    {"FERROUS SULFATE", "8", "325MG TABLET", 2},
    {"FOLIC ACID", "8", "5MG TABLET", 1},
    {"VITAMIN B1 + B6 + B12", "8", "TABLET;AMPULE 3ML", 3},
    {"CALCIUM CARBONATE", "8", "500MG TABLET", 2},
    {"MULTIVITAMINS", "8", "ORAL DROPS 15ML;SYRUP 120ML", 6},
    {"MUPIROCIN", "9", "2% OINTMENT 15G", 12},
    {"SILVER SULFADIAZINE", "9", "1% CREAM 50G", 15},
    {"POVIDONE-IODINE", "9", "10% SOLUTION 120ML;10% SOLUTION 1 GALLON", 9},
    {"TOBRAMYCIN", "10", "0.3% EYE DROPS 5ML", 16},
    {"OXYTOCIN", "11", "10 IU/ML AMPULE", 4},
    {"TERBUTALINE", "11", "500MCG/ML AMPULE", 4.5},
    {"NIFEDIPINE", "11", "10MG CAPSULE;30MG TABLET", 6},
    {"PARACETAMOL", "12.1",
     "500MG TABLET;250MG/5ML SYRUP 60ML;100MG/ML ORAL DROPS 15ML;150MG/ML AMPULE 2ML;1G/100ML IV INFUSION;"
     "125MG SUPPOSITORY", 1},
    {"TRAMADOL", "12.2", "50MG CAPSULE;50MG/ML AMPULE 2ML", 10},
    {"MORPHINE SULFATE", "12.2", "30MG TABLET;10MG/ML AMPULE", 8},
    {"FENTANYL CITRATE", "12.2", "50MCG/ML AMPULE 2ML", 11},
    {"IBUPROFEN", "12.3", "200MG TABLET;400MG TABLET;100MG/5ML SUSPENSION 60ML", 2},
    {"MEFENAMIC ACID", "12.3", "250MG CAPSULE;500MG TABLET", 2},
    {"KETOROLAC", "12.3", "10MG TABLET;30MG/ML AMPULE", 3},
    {"DICLOFENAC SODIUM", "12.3", "50MG TABLET;75MG/3ML AMPULE", 5},
    {"EPINEPHRINE", "13", "1MG/ML AMPULE", 4},
    {"ATROPINE SULFATE", "13", "1MG/ML AMPULE", 3},
    {"NALOXONE", "13", "400MCG/ML AMPULE", 25},
    {"AMIODARONE", "13", "200MG TABLET;150MG/3ML AMPULE", 8},
};

const Drug kFluids[] = {
    {"DEXTROSE 5% IN WATER", "7.1", "1L BAG;500ML BAG;250ML BAG", 9},
    {"DEXTROSE 5% IN LACTATED RINGERS", "7.1", "1L BAG;500ML BAG", 10},
    {"DEXTROSE 5% IN 0.9% SODIUM CHLORIDE", "7.1", "1L BAG", 10},
    {"DEXTROSE 5% IN 0.3% SODIUM CHLORIDE", "7.1", "1L BAG;500ML BAG", 10},
    {"SODIUM CHLORIDE 0.9%", "7.1", "1L BAG;500ML BAG;100ML BAG", 8},
    {"LACTATED RINGERS SOLUTION", "7.1", "1L BAG", 9},
    {"DEXTROSE 10% IN WATER", "7.1", "500ML BAG", 10},
    {"MANNITOL 20%", "7.1", "500ML BOTTLE", 25},
    {"STERILE WATER FOR INJECTION", "7.1", "10ML VIAL;1L BOTTLE", 6},
};

const Supply kSupplies[] = {
    {"DISPOSABLE SYRINGE", "1ML TUBERCULIN 26G;3ML 23G X 1;5ML 23G X 1;10ML 21G X 1 1/2;20ML 21G;50ML LUER LOCK",
     "MSU", kPiece, 100, 4.5, "2"},
    {"HYPODERMIC NEEDLE", "18G X 1 1/2;21G X 1 1/2;23G X 1;25G X 5/8", "MSU", kPiece, 100, 1.8, "2"},
    {"IV CANNULA", "G18;G20;G22;G24", "MSU", kPiece, 50, 32, "2"},
    {"IV ADMINISTRATION SET", "ADULT MACRODRIP;PEDIA MICRODRIP", "MSU", kSet, 50, 38, "2"},
    {"BLOOD TRANSFUSION SET", "ADULT WITH FILTER", "MSU", kSet, 25, 55, "2"},
    {"EXAMINATION GLOVES", "LATEX SMALL BOX OF 100;LATEX MEDIUM BOX OF 100;LATEX LARGE BOX OF 100;"
     "NITRILE MEDIUM BOX OF 100", "MSU", kBox, 1, 260, "2"},
    {"SURGICAL GLOVES STERILE", "SIZE 6.5;SIZE 7;SIZE 7.5;SIZE 8", "MSU", kPair, 50, 17, "2"},
    {"GAUZE PAD STERILE", "4X4 12 PLY PACK OF 10;2X2 8 PLY PACK OF 10", "MSU", kPack, 100, 22, "2"},
    {"GAUZE ROLL", "36IN X 100YDS", "MSU", kRoll, 1, 650, "2"},
    {"COTTON BALLS", "STERILE PACK OF 100", "MSU", kPack, 20, 45, "2"},
    {"ABSORBENT COTTON", "ROLL 400G", "MSU", kRoll, 12, 160, "2"},
    {"ELASTIC BANDAGE", "2IN X 5YDS;3IN X 5YDS;4IN X 5YDS;6IN X 5YDS", "MSU", kRoll, 12, 28, "2"},
    {"MICROPORE SURGICAL TAPE", "1/2IN X 10YDS;1IN X 10YDS", "MSU", kRoll, 24, 35, "2"},
    {"TRANSPARENT FILM DRESSING", "6CM X 7CM;10CM X 12CM", "MSU", kPiece, 100, 18, "2"},
    {"FOLEY CATHETER 2-WAY", "FR 12;FR 14;FR 16;FR 18", "MSU", kPiece, 10, 58, "2"},
    {"NASOGASTRIC TUBE", "FR 8;FR 12;FR 14;FR 16", "MSU", kPiece, 50, 24, "2"},
    {"SUCTION CATHETER", "FR 10;FR 12;FR 14", "MSU", kPiece, 50, 14, "2"},
    {"URINE BAG", "2000ML ADULT", "MSU", kPiece, 50, 38, "2"},
    {"URINE COLLECTOR", "PEDIATRIC 100ML", "MSU", kPiece, 100, 12, "2"},
    {"OXYGEN NASAL CANNULA", "ADULT;PEDIATRIC", "MSU", kPiece, 50, 30, "2"},
    {"OXYGEN FACE MASK", "ADULT WITH RESERVOIR BAG;PEDIATRIC SIMPLE", "MSU", kPiece, 50, 65, "2"},
    {"NEBULIZER KIT", "ADULT MASK;PEDIATRIC MASK", "MSU", kSet, 50, 55, "2"},
    {"ENDOTRACHEAL TUBE CUFFED", "7.0MM;7.5MM;8.0MM", "MSU", kPiece, 10, 75, "2"},
    {"SURGICAL FACE MASK", "3 PLY EAR LOOP BOX OF 50", "MSU", kBox, 1, 120, "2"},
    {"N95 RESPIRATOR", "CUP TYPE", "MSU", kPiece, 20, 48, "2"},
    {"SURGICAL CAP", "BOUFFANT DISPOSABLE", "MSU", kPiece, 100, 3, "2"},
    {"SHOE COVER", "NON-SKID DISPOSABLE", "MSU", kPair, 50, 4, "2"},
    {"ISOLATION GOWN", "DISPOSABLE YELLOW", "MSU", kPiece, 50, 35, "2"},
    {"ISOPROPYL ALCOHOL 70%", "500ML;1 GALLON", "MSU", kBottle, 12, 65, "2"},
    {"ALCOHOL PREP PAD", "BOX OF 100", "MSU", kBox, 1, 95, "2"},
    {"BLOOD LANCET", "STERILE 28G BOX OF 100", "MSU", kBox, 1, 110, "2"},
    {"BLOOD GLUCOSE TEST STRIP", "BOX OF 50", "MSU", kBox, 1, 780, "8"},
    {"SPECIMEN CONTAINER", "STERILE 60ML", "MSU", kPiece, 100, 9, "2"},
    {"UNDERPAD", "60CM X 90CM", "MSU", kPiece, 10, 16, "2"},
    {"ADULT DIAPER", "MEDIUM;LARGE", "MSU", kPiece, 10, 24, "2"},
    {"ECG ELECTRODE", "ADULT FOAM", "MSU", kPiece, 50, 7, "2"},
    {"ECG PAPER", "THERMAL 50MM X 20M", "MSU", kRoll, 10, 85, "2"},
    {"SCALPEL BLADE", "NO. 10;NO. 11;NO. 15;NO. 22", "MSU", kPiece, 100, 6, "4"},
    {"UMBILICAL CORD CLAMP", "STERILE", "MSU", kPiece, 100, 6, "2"},
    {"CHROMIC CATGUT", "2-0 CUTTING NEEDLE;3-0 ROUND NEEDLE", "SUT", kPiece, 12, 165, "4"},
    {"POLYGLACTIN 910 SUTURE", "2-0 ROUND NEEDLE;3-0 ROUND NEEDLE;4-0 CUTTING NEEDLE", "SUT", kPiece, 12, 290, "4"},
    {"NYLON SUTURE", "3-0 CUTTING NEEDLE;4-0 CUTTING NEEDLE", "SUT", kPiece, 12, 120, "4"},
    {"SILK SUTURE", "2-0 CUTTING NEEDLE;3-0 CUTTING NEEDLE", "SUT", kPiece, 12, 110, "4"},
    {"POLYPROPYLENE SUTURE", "4-0 ROUND NEEDLE", "SUT", kPiece, 12, 320, "4"},
    {"BED SHEET", "FLAT WHITE SINGLE", "LIN", kPiece, 1, 380, "7"},
    {"PILLOW CASE", "WHITE", "LIN", kPiece, 1, 120, "7"},
    {"PATIENT GOWN", "ADULT BLUE;PEDIATRIC PRINTED", "LIN", kPiece, 1, 250, "7"},
    {"BLANKET", "FLEECE SINGLE", "LIN", kPiece, 1, 450, "7"},
    {"BATH TOWEL", "WHITE 27IN X 54IN", "LIN", kPiece, 1, 220, "7"},
    {"SCRUB SUIT", "GREEN MEDIUM;GREEN LARGE", "LIN", kSet, 1, 520, "7"},
    {"OR DRAPE", "GREEN 36IN X 36IN", "LIN", kPiece, 1, 180, "7"},
    {"BOND PAPER", "A4 80GSM;LONG 80GSM", "OFF", kReam, 1, 245, "6"},
    {"BALLPEN", "BLACK;BLUE", "OFF", kPiece, 50, 9, "6"},
    {"PERMANENT MARKER", "BLACK", "OFF", kPiece, 12, 38, "6"},
    {"STAPLE WIRE", "NO. 35", "OFF", kBox, 1, 32, "6"},
    {"FOLDER", "LONG MANILA", "OFF", kPiece, 100, 5, "6"},
    {"LOGBOOK", "300 PAGES", "OFF", kPiece, 1, 95, "6"},
    {"PRINTER INK", "BLACK 70ML", "OFF", kBottle, 1, 320, "6"},
    {"CORRECTION TAPE", "5MM X 6M", "OFF", kPiece, 12, 35, "6"},
    {"PATIENT CHART FORM", "PAD OF 100", "OFF", kPack, 1, 60, "6"},
    {"CHLORINE DISINFECTANT", "5% SOLUTION 1 GALLON", "HSK", kGallon, 4, 210, "7"},
    {"LIQUID HAND SOAP", "1 GALLON", "HSK", kGallon, 4, 240, "7"},
    {"TRASH BAG", "BLACK XL PACK OF 10;YELLOW INFECTIOUS XL PACK OF 10", "HSK", kPack, 10, 55, "7"},
    {"TISSUE PAPER", "2 PLY ROLL", "HSK", kRoll, 48, 14, "7"},
    {"SHARPS CONTAINER", "5 LITERS", "HSK", kPiece, 10, 135, "7"},
    {"BLOOD COLLECTION TUBE", "EDTA 3ML PURPLE TOP;PLAIN 5ML RED TOP;CITRATE 2.7ML BLUE TOP", "LAB", kPiece, 100,
     9, "8"},
    {"MICROSCOPE SLIDE", "FROSTED BOX OF 72", "LAB", kBox, 1, 120, "8"},
    {"URINE REAGENT STRIP", "10 PARAMETERS BOTTLE OF 100", "LAB", kBottle, 1, 950, "8"},
    {"HBSAG RAPID TEST KIT", "BOX OF 40 TESTS", "LAB", kBox, 1, 1450, "8"},
    {"PREGNANCY TEST KIT", "CASSETTE", "LAB", kPiece, 50, 28, "8"},
    {"INFUSION PUMP", "VOLUMETRIC SINGLE CHANNEL", "EQP", kUnit, 1, 68000, "4"},
    {"SYRINGE PUMP", "SINGLE CHANNEL", "EQP", kUnit, 1, 54000, "4"},
    {"PATIENT MONITOR", "5 PARAMETERS 12IN DISPLAY", "EQP", kUnit, 1, 145000, "4"},
    {"WHEELCHAIR", "STANDARD FOLDING", "EQP", kUnit, 1, 7800, "4"},
    {"SUCTION MACHINE", "PORTABLE ELECTRIC", "EQP", kUnit, 1, 18500, "4"},
    {"NEBULIZER MACHINE", "COMPRESSOR TYPE", "EQP", kUnit, 1, 2900, "4"},
    {"PULSE OXIMETER", "FINGERTIP", "EQP", kUnit, 1, 1800, "4"},
};

// How a medicine's form decides its unit, its packing, oral or injected,
// and its price relative to a tablet. The first matching word wins, so the
// longer forms come first ("SUSPENSION" holds "PEN").
FormTraits TraitsOfForm(const QString& form)
{
    struct Rule { const char* word; FormTraits traits; };
    static const Rule rules[] = {
        {"IV INFUSION", {kBag, 1, "I", 14}},
        {"BAG", {kBag, 1, "I", 6}},
        {"PREFILLED PEN", {kPiece, 5, "I", 1}},
        {"PREFILLED SYRINGE", {kPiece, 10, "I", 1}},
        {"AMPULE", {kAmpule, 10, "I", 9}},
        {"VIAL", {kVial, 1, "I", 10}},
        {"NEBULE", {kNebule, 20, "I", 2}},
        {"SUPPOSITORY", {kSuppository, 10, "O", 4}},
        {"SACHET", {kSachet, 25, "O", 2}},
        {"INHALER", {kUnit, 1, "E", 40}},
        {"CREAM", {kTube, 1, "E", 20}},
        {"OINTMENT", {kTube, 1, "E", 20}},
        {"JELLY", {kTube, 1, "E", 20}},
        {"GALLON", {kGallon, 1, "E", 90}},
        {"BOTTLE", {kBottle, 1, "I", 5}},
        {"TABLET", {kTablet, 100, "O", 1}},
        {"DURULE", {kTablet, 100, "O", 1}},
        {"CAPSULE", {kCapsule, 100, "O", 1}},
        {"EYE DROPS", {kBottle, 1, "E", 15}},
        {"OTIC DROPS", {kBottle, 1, "E", 15}},
        {"SPRAY", {kBottle, 1, "E", 30}},
        {"SOLUTION", {kBottle, 1, "E", 10}},
        {"POWDER", {kBottle, 1, "O", 20}},
    };
    for (const Rule& rule : rules)
        if (form.contains(QLatin1String(rule.word)))
            return rule.traits;
    // Syrups, suspensions and oral drops.
    return {kBottle, 1, "O", 12};
}

double Rounded(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QString Code(const char* prefix, int number, int width)
{
    return QString::fromLatin1(prefix) + QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

QString GlCodeOf(const QString& classification)
{
    if (classification == QLatin1String("MED") || classification == QLatin1String("IVF"))
        return QStringLiteral("5-01-100");
    if (classification == QLatin1String("EQP"))
        return QStringLiteral("1-05-300");
    if (classification == QLatin1String("OFF"))
        return QStringLiteral("5-02-100");
    return QStringLiteral("5-01-200");
}

void AddDrugs(const Drug* drugs, int count, const char* classification, ItemCatalog& catalog, int& nextItem)
{
    for (int d = 0; d < count; ++d) {
        const Drug& drug = drugs[d];
        const QString genericId = Code("G", int(catalog.generics.size()) + 1, 3);
        catalog.generics.append({genericId, QString::fromLatin1(drug.name), QString::fromLatin1(drug.node)});
        const QStringList forms = QString::fromLatin1(drug.forms).split(QLatin1Char(';'));
        for (int f = 0; f < forms.size(); ++f) {
            const FormTraits traits = TraitsOfForm(forms[f]);
            Item item;
            item.id = Code("P", nextItem++, 4);
            item.name = QString::fromLatin1(drug.name);
            item.description = forms[f];
            item.classification = QString::fromLatin1(classification);
            item.unitOfMeasure = traits.unit;
            item.packing = traits.packing;
            item.listCost = Rounded(drug.basePrice * traits.priceFactor * (1.0 + 0.2 * f), 2);
            item.genericId = genericId;
            item.supplierId = QString::fromLatin1(classification == QLatin1String("IVF") ? "5"
                                                  : d % 2 == 0                          ? "1"
                                                                                        : "3");
            item.oralInject = QString::fromLatin1(traits.oralInject);
            item.glCode = GlCodeOf(item.classification);
            item.medicine = true;
            catalog.items.append(item);
        }
    }
}

void AddSupplies(ItemCatalog& catalog, int& nextItem)
{
    int nextOfficeCode = 1001;   // office supplies keep the plain numeric codes of the old stock cards
    for (const Supply& supply : kSupplies) {
        const QString classification = QString::fromLatin1(supply.classification);
        const QStringList variants = QString::fromLatin1(supply.variants).split(QLatin1Char(';'));
        for (int v = 0; v < variants.size(); ++v) {
            Item item;
            item.id = classification == QLatin1String("OFF") ? QString::number(nextOfficeCode++)
                                                              : Code("P", nextItem++, 4);
            item.name = QString::fromLatin1(supply.name);
            item.description = variants[v];
            item.classification = classification;
            item.unitOfMeasure = supply.unit;
            item.packing = supply.packing;
            item.listCost = Rounded(supply.price * (1.0 + 0.1 * v), 2);
            item.supplierId = QString::fromLatin1(supply.supplier);
            item.glCode = GlCodeOf(classification);
            item.fixedAsset = classification == QLatin1String("EQP");
            // Their codes can be typed as they stand.
            item.everyDepartment = classification == QLatin1String("OFF");
            catalog.items.append(item);
        }
    }
}

// The kit items themselves; their cost is the sum of their active parts, or
// of all their parts for a kit that has none left.
double KitCost(const Kit& kit, const ItemCatalog& catalog, bool activeOnly)
{
    double cost = 0;
    for (const KitComponent& part : kit.components)
        for (const Item& candidate : catalog.items)
            if (candidate.name == QLatin1String(part.itemName)
                && candidate.description == QLatin1String(part.itemDescription)
                && (!activeOnly || QLatin1String(part.active) != QLatin1String("I")))
                cost += Rounded(candidate.listCost * part.qty, 2);
    return cost;
}

void AddKitItems(ItemCatalog& catalog)
{
    for (const Kit& kit : Kits()) {
        Item item;
        item.id = QString::fromLatin1(kit.itemId);
        item.name = QString::fromLatin1(kit.name);
        item.description = QString::fromLatin1(kit.description);
        item.classification = QStringLiteral("MSU");
        item.unitOfMeasure = kKit;
        item.packing = 1;
        item.supplierId = QStringLiteral("2");
        item.glCode = GlCodeOf(item.classification);
        item.kitId = QString::fromLatin1(kit.kitId);
        item.listCost = KitCost(kit, catalog, true);
        if (item.listCost == 0)
            item.listCost = KitCost(kit, catalog, false);
        item.everyDepartment = true;
        catalog.items.append(item);
    }
}

} // namespace

const QVector<Classification>& Classifications()
{
    static const QVector<Classification> rows{
        {"MED", "MEDICINES", false},           {"IVF", "INTRAVENOUS FLUIDS", false},
        {"MSU", "MEDICAL SUPPLIES", false},    {"SUT", "SUTURES", false},
        {"LIN", "LINEN", false},               {"OFF", "OFFICE SUPPLIES", false},
        {"HSK", "HOUSEKEEPING SUPPLIES", false}, {"LAB", "LABORATORY SUPPLIES", false},
        {"EQP", "MEDICAL EQUIPMENT", true},
    };
    return rows;
}

const QVector<UnitOfMeasure>& UnitsOfMeasure()
{
    static const QVector<UnitOfMeasure> rows{
        {kTablet, "TABLET", "A"},   {kCapsule, "CAPSULE", "A"}, {kAmpule, "AMPULE", "A"},
        {kVial, "VIAL", "A"},       {kBottle, "BOTTLE", "A"},   {kBag, "BAG", "A"},
        {kPiece, "PIECE", "A"},     {kBox, "BOX", "A"},         {kPack, "PACK", "A"},
        {kRoll, "ROLL", "A"},       {kPair, "PAIR", "A"},       {kTube, "TUBE", "A"},
        {kSachet, "SACHET", "A"},   {kUnit, "UNIT", "A"},       {kSet, "SET", "A"},
        {kReam, "REAM", "A"},       {kGallon, "GALLON", "A"},   {kNebule, "NEBULE", "A"},
        {kSuppository, "SUPPOSITORY", "A"}, {kDozen, "DOZEN", "I"}, {kKit, "KIT", "A"},
    };
    return rows;
}

const QVector<Terms>& PaymentTerms()
{
    static const QVector<Terms> rows{
        {1, "CASH ON DELIVERY", 0, "A"}, {2, "NET 30 DAYS", 30, "A"}, {3, "NET 60 DAYS", 60, "A"},
        {4, "NET 90 DAYS", 90, "A"},     {5, "NET 120 DAYS", 120, "I"},
    };
    return rows;
}

const QVector<Supplier>& Suppliers()
{
    static const QVector<Supplier> rows{
        {"1", "MERIDIAN PHARMA DISTRIBUTORS INC.", "45 KALAYAAN AVENUE, DILIMAN", 2, "(02) 8921-4410",
         "LOURDES TAN", "A"},
        {"2", "PACIFIC CROSS MEDICAL SUPPLY CORP.", "118 DEL MONTE AVENUE, SAN FRANCISCO DEL MONTE", 3,
         "(02) 8412-7765", "RAMON AQUINO", "A"},
        {"3", "GOLDEN LOTUS DRUG TRADING", "22 ONGPIN STREET, BINONDO", 2, "(02) 8244-1902", "WILSON CHUA", "A"},
        {"4", "NORTHSTAR SURGICAL AND HOSPITAL EQUIPMENT", "7 SHAW BOULEVARD, PASIG", 4, "(02) 8631-5580",
         "GRACE VILLANUEVA", "A"},
        {"5", "BAYSIDE IV SOLUTIONS INC.", "301 COASTAL ROAD, PARANAQUE", 2, "(02) 8825-3317", "DANILO REYES", "A"},
        {"6", "CITYWIDE OFFICE SUPPLIES", "88 RIZAL AVENUE, SANTA CRUZ", 1, "(02) 8733-0045", "MYLENE CRUZ", "A"},
        {"7", "CLEANPRO JANITORIAL AND LINEN SUPPLY", "14 MARCOS HIGHWAY, ANTIPOLO", 2, "(02) 8697-2210",
         "JOEL BAUTISTA", "A"},
        {"8", "LABLINE DIAGNOSTICS INC.", "5 ORTIGAS AVENUE, SAN JUAN", 3, "(02) 8723-9981", "CARMINA LOPEZ", "A"},
        {"9", "OLD TOWN MEDICAL TRADING", "9 ESCOLTA STREET, MANILA", 1, "(02) 8241-0000", "NONE", "I"},
    };
    return rows;
}

const QVector<GenericNode>& GenericNodes()
{
    static const QVector<GenericNode> rows{
        {"1", "ANTI-INFECTIVES"},       {"1.1", "PENICILLINS"},          {"1.2", "CEPHALOSPORINS"},
        {"1.3", "MACROLIDES"},          {"1.4", "QUINOLONES"},           {"1.5", "OTHER ANTIBACTERIALS"},
        {"1.6", "ANTIFUNGALS"},         {"1.7", "ANTIVIRALS"},           {"1.8", "ANTI-TUBERCULOSIS AGENTS"},
        {"2", "CARDIOVASCULAR DRUGS"},  {"2.1", "ANTIHYPERTENSIVES"},    {"2.2", "ANTIANGINALS"},
        {"2.3", "LIPID-LOWERING AGENTS"}, {"2.4", "ANTITHROMBOTICS AND HEMOSTATICS"}, {"2.5", "DIURETICS"},
        {"2.6", "INOTROPES AND VASOPRESSORS"}, {"3", "CENTRAL NERVOUS SYSTEM DRUGS"}, {"3.1", "ANTICONVULSANTS"},
        {"3.2", "ANXIOLYTICS AND SEDATIVES"}, {"3.3", "ANTIPSYCHOTICS AND ANTIDEPRESSANTS"}, {"3.4", "ANESTHETICS"},
        {"4", "GASTROINTESTINAL DRUGS"}, {"4.1", "ANTACIDS AND ANTIULCER AGENTS"}, {"4.2", "ANTIEMETICS"},
        {"4.3", "LAXATIVES AND ANTIDIARRHEALS"}, {"4.4", "ANTISPASMODICS"}, {"5", "RESPIRATORY DRUGS"},
        {"5.1", "BRONCHODILATORS"},     {"5.2", "ANTIHISTAMINES"},       {"5.3", "MUCOLYTICS"},
        {"6", "HORMONES AND ENDOCRINE DRUGS"}, {"6.1", "ANTIDIABETICS"}, {"6.2", "CORTICOSTEROIDS"},
        {"6.3", "THYROID AGENTS"},      {"7", "FLUIDS AND ELECTROLYTES"}, {"7.1", "INTRAVENOUS SOLUTIONS"},
        {"7.2", "ELECTROLYTE REPLACEMENTS"}, {"8", "VITAMINS AND MINERALS"}, {"9", "DERMATOLOGICALS"},
        {"10", "EYE AND EAR PREPARATIONS"}, {"11", "OBSTETRIC DRUGS"},  {"12", "ANALGESICS"},
        {"12.1", "NON-OPIOID ANALGESICS"}, {"12.2", "OPIOID ANALGESICS"}, {"12.3", "NON-STEROIDAL ANTI-INFLAMMATORY DRUGS"},
        {"13", "ANTIDOTES AND EMERGENCY DRUGS"},
    };
    return rows;
}

// Kit codes are plain numbers, so that they can be typed in the code box.
const QVector<Kit>& Kits()
{
    static const QVector<Kit> rows{
        {"9001", "KDEL", "NORMAL DELIVERY KIT", "SPONTANEOUS VAGINAL DELIVERY SET",
         {{"SURGICAL GLOVES STERILE", "SIZE 7", 2, "N", "A"},
          {"GAUZE PAD STERILE", "4X4 12 PLY PACK OF 10", 3, "N", "A"},
          {"CHROMIC CATGUT", "2-0 CUTTING NEEDLE", 1, "N", "A"},
          {"OXYTOCIN", "10 IU/ML AMPULE", 2, "Y", "A"},
          {"UMBILICAL CORD CLAMP", "STERILE", 1, "N", "A"},
          {"POVIDONE-IODINE", "10% SOLUTION 120ML", 1, "Y", "I"}}},
        {"9002", "KIVS", "IV INSERTION KIT", "ADULT PERIPHERAL LINE SET",
         {{"IV CANNULA", "G20", 1, "N", "A"},
          {"IV ADMINISTRATION SET", "ADULT MACRODRIP", 1, "N", "A"},
          {"DEXTROSE 5% IN LACTATED RINGERS", "1L BAG", 1, "Y", "A"},
          {"MICROPORE SURGICAL TAPE", "1IN X 10YDS", 1, "N", "A"},
          {"ALCOHOL PREP PAD", "BOX OF 100", 1, "N", "A"}}},
        // Retired: its only kit row is inactive, so the item is entered as a
        // plain item.
        {"9003", "KSUT", "SUTURING KIT", "MINOR SURGERY SET (RETIRED)",
         {{"SILK SUTURE", "3-0 CUTTING NEEDLE", 1, "N", "I"}}},
    };
    return rows;
}

ItemCatalog BuildItemCatalog()
{
    ItemCatalog catalog;
    int nextItem = 1;
    AddDrugs(kDrugs, int(std::size(kDrugs)), "MED", catalog, nextItem);
    AddDrugs(kFluids, int(std::size(kFluids)), "IVF", catalog, nextItem);
    AddSupplies(catalog, nextItem);
    AddKitItems(catalog);
    return catalog;
}

} // namespace admin::demo
