#include "errors.h"

namespace morvane {

const char* errorMessage(int n) {
    switch (n) {
        case kInvalidArgument:
            return "Intenta realizar una operación matemática no válida, como una raiz o un "
                   "logaritmo de un número negativo";
        case kTooLong:
            return "El texto es demasiado largo: un registro admite como máximo 65536 caracteres.";
        case kOverflow:
            return "La operación que intenta realizar excede la capacidad de cálculo de la "
                   "aplicación. Utilice números más pequeños.";
        case kDivisionByZero:
            return "Ha intentado dividir por cero. Esta operación es incorrecta.";
        case kClipboardFailure:
            return "No se ha podido usar el portapapeles del sistema.";
        case kTypeMismatch:
            return "Intenta realizar una operación sin haber introducido todos los parámetros "
                   "requeridos";
        case kPrintFailure:
            return "No se ha podido imprimir la pila: no hay ninguna impresora disponible o la impresora "
                   "ha rechazado el trabajo.";
        default:
            return nullptr;
    }
}

void ErrorReport::report(int n) {
    indicator = "E " + std::to_string(n);
    indicatorBack = kSelectionRed;
    ++failures;
    if (const char* m = errorMessage(n)) {
        numero = "ERROR E-" + std::to_string(n);
        descripcion = m;
    }
    visible = true;
    number = n;
    ++reports;
}

void ErrorReport::quietFailure(int n) {
    indicatorBack = kSelectionRed;
    quietNumber = n;
    ++quietFailures;
    ++failures;
}

}  // namespace morvane
