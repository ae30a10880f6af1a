#include "tools/sim/SimFamily.h"

const QList<SimFamily>& SimFamilies()
{
    // Serial numbers and firmware fields are chosen so that the program's identification rules
    // pick the intended model: characters 4-5 of a Rigol serial number give the model, the
    // firmware field 00.01.19.00.02 reads as 119 (new byte order), 2.1.1.1 as the SVA 2111.
    static const QList<SimFamily> families = {
        {"dsa815", "Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02", SimKind::RigolDsa, 601, true,
         "TG|Tracking Generator\nEMI|EMI Filter & Quasi-Peak\n0\n", 1.5e9},
        {"dsa815-old", "Rigol Technologies,DSA815,DSA8A1234567890,00.01.18.00.02", SimKind::RigolDsa, 601, false,
         "TG|Tracking Generator\nEMI|EMI Filter & Quasi-Peak\n0\n", 1.5e9},
        {"dsa832", "Rigol Technologies,DSA832,DSA8G1234567890,00.01.10.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n", 3.2e9},
        {"dsa875", "Rigol Technologies,DSA875,DSA8E1234567890,00.01.10.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n", 7.5e9},
        {"dsa1030", "Rigol Technologies,DSA1030,DSA1B1234567890,00.01.05.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n", 3e9},
        {"dsa705", "Rigol Technologies,DSA705,DSA8B1234567890,00.01.02.00.01", SimKind::RigolDsa, 601, false,
         "EMI|EMI Filter & Quasi-Peak\n\n0\n", 500e6},
        {"rsa5065", "Rigol Technologies,RSA5065,RSA5B1234567890,00.01.02.00.01", SimKind::RigolRsa, 601, true,
         "EMI|EMI Measurement\n\n0\n", 6.5e9},
        {"rsa3030", "Rigol Technologies,RSA3030,RSA3D1234567890,00.01.02.00.01", SimKind::RigolRsa, 601, true,
         "EMI|EMI Measurement\n\n0\n", 3e9},
        {"ssa3032x", "Siglent Technologies,SSA3032X,SSA3XAB1234567,3.2.2.5.0", SimKind::SiglentSsa, 751, false,
         "EMI,TG", 3.2e9},
        {"sva1032x", "Siglent Technologies,SVA1032X,SVA1XAB1234567,2.1.1.2", SimKind::SiglentSva, 751, false,
         "EMI,TG,VNA", 3.2e9},
        {"sva1032x-2111", "Siglent Technologies,SVA1032X,SVA1XAB7654321,2.1.1.1", SimKind::SiglentSva, 751, false,
         "EMI,TG,VNA", 3.2e9},
        {"hms3010", "Hameg Instruments,HMS3010,012345678,1.501", SimKind::Hameg, 501, false, "HO3011", 3e9},
        {"fpc1000", "Rohde&Schwarz,FPC1000,1328.6660K02/100123,1.50", SimKind::RsFpc, 600, false,
         "K43,B22", 1e9},
        {"fpc1500", "Rohde&Schwarz,FPC1500,1328.6660K12/100456,1.50", SimKind::RsFpc, 600, false,
         "K43,B22", 1e9},
        {"fph", "Rohde&Schwarz,FPH,1321.1111K04/100789,1.70", SimKind::RsFph, 700, false,
         "K43,K29,B22", 2e9},
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

SimLimits LimitsOf(const SimFamily& f)
{
    // Resolution bandwidths, attenuators and tracking generators of each range, from the makers'
    // data sheets; sweep times as far as any of them goes.
    SimLimits l{f.maxHz, 10, 1e6, 1, 3e6, 1e-6, 1e4, 30, -20, 0, 101, 10001};
    switch (f.kind) {
    case SimKind::RigolDsa: break;
    case SimKind::RigolRsa:
        l.rbwMinHz = 1;
        l.rbwMaxHz = 10e6;
        l.vbwMaxHz = 10e6;
        l.attenuationMaxDb = 50;
        l.sourceMinDbm = -40;
        break;
    case SimKind::SiglentSsa:
    case SimKind::SiglentSva:
        l.rbwMinHz = 1;
        l.attenuationMaxDb = 51;
        break;
    case SimKind::Hameg:
        l.rbwMinHz = 100;
        break;
    case SimKind::RsFpc:
    case SimKind::RsFph:
        l.rbwMinHz = 1;
        l.rbwMaxHz = 3e6;
        l.attenuationMaxDb = 40;
        break;
    }
    return l;
}
