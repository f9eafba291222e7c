#include "numbers/instrument_class.h"

namespace numbers {

QString ClassName(InstrumentClass instrument) {
    switch (instrument) {
        case InstrumentClass::Fund:
            return QStringLiteral("基金");
        case InstrumentClass::Bond:
            return QStringLiteral("债券");
        case InstrumentClass::Share:
            break;
    }
    return QStringLiteral("股票");
}

InstrumentClass ClassFromIndex(int index) {
    switch (index) {
        case 1:
            return InstrumentClass::Fund;
        case 2:
            return InstrumentClass::Bond;
        default:
            return InstrumentClass::Share;
    }
}

int QuoteDecimals(InstrumentClass instrument) {
    return instrument == InstrumentClass::Share ? 2 : 3;
}

}  // namespace numbers
