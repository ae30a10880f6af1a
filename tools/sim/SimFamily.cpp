#include "tools/sim/SimFamily.h"

const QList<SimFamily>& SimFamilies()
{
    // Serial numbers and firmware fields are chosen so that the program's identification rules
    // pick the intended model: characters 4-5 of a Rigol serial number give the model, the
    // firmware field 00.01.19.00.02 reads as 119 (new byte order), 2.1.1.1 as the SVA 2111.
    static const QList<SimFamily> families = {
        {"dsa815", "Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02", SimKind::RigolDsa, 601, true,
         "TG|Tracking Generator\nEMI|EMI Filter & Quasi-Peak\n0\n"},
        {"dsa815-old", "Rigol Technologies,DSA815,DSA8A1234567890,00.01.18.00.02", SimKind::RigolDsa, 601, false,
         "TG|Tracking Generator\nEMI|EMI Filter & Quasi-Peak\n0\n"},
        {"dsa832", "Rigol Technologies,DSA832,DSA8G1234567890,00.01.10.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n"},
        {"dsa875", "Rigol Technologies,DSA875,DSA8E1234567890,00.01.10.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n"},
        {"dsa1030", "Rigol Technologies,DSA1030,DSA1B1234567890,00.01.05.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n"},
        {"dsa705", "Rigol Technologies,DSA705,DSA8B1234567890,00.01.02.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n"},
        {"rsa5065", "Rigol Technologies,RSA5065,RSA5B1234567890,00.01.02.00.01", SimKind::RigolRsa, 601, true,
         "EMI|EMI Measurement\n\n0\n"},
        {"rsa3030", "Rigol Technologies,RSA3030,RSA3D1234567890,00.01.02.00.01", SimKind::RigolRsa, 601, true,
         "EMI|EMI Measurement\n\n0\n"},
        {"ssa3032x", "Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0", SimKind::SiglentSsa, 751, false,
         "EMI,TG"},
        {"sva1032x", "Siglent Technologies,SVA1032X,SVA1XAB1234567,2.1.1.2", SimKind::SiglentSva, 751, false,
         "EMI,TG,VNA"},
        {"sva1032x-2111", "Siglent Technologies,SVA1032X,SVA1XAB7654321,2.1.1.1", SimKind::SiglentSva, 751, false,
         "EMI,TG,VNA"},
        {"hms3010", "Hameg Instruments,HMS3010,012345678,1.501", SimKind::Hameg, 501, false, "HO3011"},
        {"fpc1000", "Rohde&Schwarz,FPC1000,1328.6660K02/100123,1.50", SimKind::RsFpc, 600, false,
         "FPC-K43|Receiver Mode\nFPC-B22|Preamplifier\n0\n"},
        {"fpc1500", "Rohde&Schwarz,FPC1500,1328.6660K12/100456,1.50", SimKind::RsFpc, 600, false,
         "FPC-K43|Receiver Mode\nFPC-B22|Preamplifier\n0\n"},
        {"fph", "Rohde&Schwarz,FPH,1321.1111K04/100789,1.70", SimKind::RsFph, 700, false,
         "FPH-K43|Receiver Mode\nFPH-B22|Preamplifier\n0\n"},
    };
    return families;
}

std::optional<SimFamily> FindSimFamily(const QString& name)
{
    for (const SimFamily& f : SimFamilies())
        if (f.name.compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return std::nullopt;
}

QStringList SimFamilyNames()
{
    QStringList n;
    for (const SimFamily& f : SimFamilies())
        n << f.name;
    return n;
}
