# Writes the default data files under data/src and data/rep from the figures listed in README.md.
# Run: python3 data/make_default_data.py
import math, os
root = os.path.dirname(os.path.abspath(__file__))
src = os.path.join(root, 'src'); rep = os.path.join(root, 'rep')
os.makedirs(src, exist_ok=True); os.makedirs(rep, exist_ok=True)
DATE = '01.01.2026 00:00:00'

def dots(n):
    s = str(int(n)); out = ''
    while len(s) > 3:
        out = '.' + s[-3:] + out; s = s[:-3]
    return s + out

def num(v):
    if abs(v - round(v)) < 1e-9: return str(int(round(v)))
    return ('%.2f' % v).rstrip('0').rstrip('.')

def write(path, sections):
    lines = []
    for name, items in sections:
        lines.append('[%s]' % name)
        for k, v in items: lines.append('%s=%s' % (k, v))
        lines.append('')
    with open(path, 'w', newline='') as f:
        f.write('\r\n'.join(lines))

def header():
    return ('Application', [('Software', 'Morvak QZ-W32-D7'), ('Version', 'Release'), ('Date', DATE)])

def table(fname, name, points, level_mode):
    data = []
    for i, (f, l) in enumerate(points, 1):
        data += [('Freq%d' % i, dots(f)), ('Lev%d' % i, num(l))]
    write(os.path.join(src, fname), [header(), ('General', [('Name', name), ('Freq_Interplot_Mode', 'log'),
          ('Level_Interplot_Mode', level_mode)]), ('Data', data)])

# A step in a limit line. The standards apply the lower limit at a transition frequency, and traces
# and the 4 kHz grid sit on whole kHz, so the corner on the higher side of a step lies 1 kHz away
# from the transition: a step down ends the higher segment 1 kHz before it, a step up starts the
# higher segment 1 kHz after it. The transition frequency itself then reads the lower limit both
# in the limit series and on the grid.
STEP = 1000
def level_at(segment, f):
    fa, la, fb, lb = segment
    if la == lb: return la
    return la + (lb - la) * math.log10(f / fa) / math.log10(fb / fa)  # the "log" level interpolation

def stepped(segments):
    # segments: list of (f_start, l_start, f_stop, l_stop); consecutive segments meet at f_stop = f_start
    pts = []
    prev = None
    for seg in segments:
        fa, la, fb, lb = seg
        if pts and pts[-1][0] == fa:
            if pts[-1][1] == la:
                pts.pop()
            elif la < pts[-1][1]:
                pts[-1] = (fa - STEP, level_at(prev, fa - STEP))
            else:
                fa, la = fa + STEP, level_at(seg, fa + STEP)
        pts.append((fa, la)); pts.append((fb, lb))
        prev = seg
    return pts

k, M, G = 1e3, 1e6, 1e9
# --- conducted limits (dBuV) ---
def cond(qp_low, qp_mid, qp_high, name, fname):
    table(fname, name, stepped([(150*k, qp_low[0], 500*k, qp_low[1]), (500*k, qp_mid, 5*M, qp_mid), (5*M, qp_high, 30*M, qp_high)]), 'log')
def cond_a(l1, l2, name, fname):
    table(fname, name, stepped([(150*k, l1, 500*k, l1), (500*k, l2, 30*M, l2)]), 'log')

cond((66, 56), 56, 60, 'CISPR 32 class B conducted QP', 'cispr32_b_qp.lim')
cond((56, 46), 46, 50, 'CISPR 32 class B conducted AV', 'cispr32_b_av.lim')
cond_a(79, 73, 'CISPR 32 class A conducted QP', 'cispr32_a_qp.lim')
cond_a(66, 60, 'CISPR 32 class A conducted AV', 'cispr32_a_av.lim')
cond((66, 56), 56, 60, 'CISPR 11 group 1 class B conducted QP', 'cispr11_g1_b_qp.lim')
cond((56, 46), 46, 50, 'CISPR 11 group 1 class B conducted AV', 'cispr11_g1_b_av.lim')
cond_a(79, 73, 'CISPR 11 group 1 class A conducted QP', 'cispr11_g1_a_qp.lim')
cond_a(66, 60, 'CISPR 11 group 1 class A conducted AV', 'cispr11_g1_a_av.lim')
cond((66, 56), 56, 60, 'CISPR 14-1 mains terminals QP', 'cispr14_qp.lim')
cond((59, 46), 46, 50, 'CISPR 14-1 mains terminals AV', 'cispr14_av.lim')
table('cispr15_qp.lim', 'CISPR 15 mains terminals QP 9 kHz - 30 MHz', stepped([
    (9*k, 110, 50*k, 110), (50*k, 90, 150*k, 80), (150*k, 66, 500*k, 56), (500*k, 56, 2.51*M, 56),
    (2.51*M, 73, 3*M, 73), (3*M, 56, 5*M, 56), (5*M, 60, 30*M, 60)]), 'log')
table('cispr15_av.lim', 'CISPR 15 mains terminals AV', stepped([
    (150*k, 56, 500*k, 46), (500*k, 46, 2.51*M, 46), (2.51*M, 63, 3*M, 63), (3*M, 46, 5*M, 46), (5*M, 50, 30*M, 50)]), 'log')

# --- radiated limits (dBuV/m) ---
def rad(l1, l2, name, fname):
    table(fname, name, stepped([(30*M, l1, 230*M, l1), (230*M, l2, 1*G, l2)]), 'log')
rad(30, 37, 'CISPR 32 class B radiated 10 m QP', 'cispr32_b_10m_qp.lim')
rad(40, 47, 'CISPR 32 class A radiated 10 m QP', 'cispr32_a_10m_qp.lim')
rad(40, 47, 'CISPR 32 class B radiated 3 m QP', 'cispr32_b_3m_qp.lim')
rad(50, 57, 'CISPR 32 class A radiated 3 m QP', 'cispr32_a_3m_qp.lim')
def rad_hi(l1, l2, name, fname):
    table(fname, name, stepped([(1*G, l1, 3*G, l1), (3*G, l2, 6*G, l2)]), 'log')
rad_hi(50, 54, 'CISPR 32 class B radiated 3 m AV 1-6 GHz', 'cispr32_b_3m_av_1g-6g.lim')
rad_hi(70, 74, 'CISPR 32 class B radiated 3 m PK 1-6 GHz', 'cispr32_b_3m_pk_1g-6g.lim')
rad_hi(56, 60, 'CISPR 32 class A radiated 3 m AV 1-6 GHz', 'cispr32_a_3m_av_1g-6g.lim')
rad_hi(76, 80, 'CISPR 32 class A radiated 3 m PK 1-6 GHz', 'cispr32_a_3m_pk_1g-6g.lim')
def fcc(levels, name, fname):
    a, b, c, d = levels
    table(fname, name, stepped([(30*M, a, 88*M, a), (88*M, b, 216*M, b), (216*M, c, 960*M, c), (960*M, d, 1*G, d)]), 'log')
db = lambda uv: 20*math.log10(uv)
fcc((round(db(100),1), round(db(150),1), round(db(200),1), round(db(500),1)), 'FCC Part 15 class B radiated 3 m QP', 'fcc15_b_3m_qp.lim')
fcc((round(db(90),1), round(db(150),1), round(db(210),1), round(db(300),1)), 'FCC Part 15 class A radiated 10 m QP', 'fcc15_a_10m_qp.lim')
table('fcc15_b_3m_av_1g-6g.lim', 'FCC Part 15 class B radiated 3 m AV above 1 GHz', [(1*G, round(db(500),1)), (6*G, round(db(500),1))], 'log')
table('fcc15_b_3m_pk_1g-6g.lim', 'FCC Part 15 class B radiated 3 m PK above 1 GHz', [(1*G, round(db(500),1)+20), (6*G, round(db(500),1)+20)], 'log')

# --- corrections (dB; sign as used by the correction sum: losses negative, gains positive) ---
def cable_loss_db_per_100m(fmhz):
    return 1.5*math.sqrt(fmhz) + 0.01*fmhz
cab_f = [9*k, 150*k, 1*M, 10*M, 30*M, 100*M, 200*M, 500*M, 1*G, 2*G, 3*G, 4*G, 5*G, 6*G]
table('cable_rg58_5m.cac', 'RG-58 type cable 5 m (example)', [(f, -round(cable_loss_db_per_100m(f/M)*5/100, 2)) for f in cab_f], 'lin')
def vdf(f, C=0.25e-6, R=50.0):
    x = 1/(2*math.pi*f*C*R)
    return 10*math.log10(1 + x*x)
lisn_f = [9*k, 15*k, 20*k, 30*k, 50*k, 100*k, 150*k, 300*k, 1*M, 30*M]
table('lisn_v_network.lsc', 'V-network 50 uH + 5 Ohm, voltage division (example)', [(f, -round(vdf(f), 2)) for f in lisn_f], 'lin')
table('limiter_10db.lsc', 'Transient limiter 10 dB (example)', [(9*k, -10), (30*M, -10)], 'lin')
table('lisn_limiter_10db.lsc', 'V-network with 10 dB transient limiter (example)', [(f, -round(vdf(f)+10, 2)) for f in lisn_f], 'lin')
table('preamp_20db.amp', 'Preamplifier 20 dB (example)', [(9*k, 20), (1*G, 20), (3*G, 19.5), (6*G, 18.5)], 'lin')
def af(fmhz, gain_dbi):
    return 20*math.log10(fmhz) - gain_dbi - 29.79
bilog = [(30, -19), (50, -8), (80, -1), (100, 1), (200, 4), (300, 5.5), (500, 5.5), (700, 5.5), (1000, 5.5)]
table('antenna_biconilog.ant', 'Broadband antenna 30 MHz - 1 GHz (example)', [(f*M, round(af(f, g), 2)) for f, g in bilog], 'lin')
horn = [(1000, 7), (2000, 9), (3000, 10.5), (4000, 11.5), (5000, 12.5), (6000, 13)]
table('antenna_horn_1g-6g.ant', 'Horn antenna 1 - 6 GHz (example)', [(f*M, round(af(f, g), 2)) for f, g in horn], 'lin')

# --- segment files ---
def seg(fname, bands, bw, sweep, att, preamp, det):
    data = []
    for i, (a, b) in enumerate(bands, 1):
        data += [('FRQa__%d' % i, dots(a)), ('FRQb__%d' % i, dots(b)), ('BW____%d' % i, str(bw)), ('Sweep_%d' % i, str(sweep)),
                 ('Att___%d' % i, att), ('PreAmp%d' % i, preamp), ('Detector%d' % i, det)]
    write(os.path.join(src, fname), [header(), ('General', [('Name', fname)]), ('Data', data)])
def split(edges): return list(zip(edges[:-1], edges[1:]))
band_a = split([9*k, 150*k])
band_b = split([150*k, 1*M, 5*M, 10*M, 15*M, 20*M, 25*M, 30*M])
band_cd = split([30*M + 70*M*i for i in range(14)] + [1*G])
band_e = split([1*G + 500*M*i for i in range(11)])
seg('cispr_a_9k-150k_pk.seg', band_a, 200, 10000, '10', 'off', 'POS')
seg('cispr_a_9k-150k_qp.seg', band_a, 200, 30000, '10', 'off', 'QPEAK')
seg('cispr_b_150k-30m_pk.seg', band_b, 9000, 200, '10', 'off', 'POS')
seg('cispr_b_150k-30m_av.seg', band_b, 9000, 1000, '10', 'off', 'VAV')
seg('cispr_b_150k-30m_qp.seg', band_b, 9000, 5000, '10', 'off', 'QPEAK')
seg('cispr_cd_30m-1g_pk.seg', band_cd, 120000, 100, 'auto', 'on', 'POS')
seg('cispr_cd_30m-1g_qp.seg', band_cd, 120000, 5000, 'auto', 'on', 'QPEAK')
seg('cispr_e_1g-6g_pk.seg', band_e, 1000000, 100, 'auto', 'on', 'POS')
seg('cispr_e_1g-6g_av.seg', band_e, 1000000, 500, 'auto', 'on', 'VAV')

# --- projects ---
def prj(fname, start, stop, high, low, det, sweep, rbw, lim1, lim2, cable, amp, att, ant, lisn, seg1, seg2, gap=6):
    setup = [('Start_Hz', dots(start)), ('Stop_Hz', dots(stop)), ('High_Pegel', str(high)), ('Low_Pegel', str(low)),
             ('Det', det), ('Sweep', str(sweep)), ('RBW', str(rbw)), ('SPAN', dots(stop - start)), ('PREAMP', 'off'),
             ('LIM1', lim1), ('LIM2', lim2), ('CABLE', cable), ('AMP', amp), ('ATT', att), ('ANT', ant), ('LISN', lisn),
             ('SEG1', seg1), ('SEG2', seg2), ('GAP1', str(gap)), ('GAP2', str(gap)), ('REP', 'demo.rep')]
    setup2 = [('FREQ_A', '140000000'), ('FREQ_B', '150000000'), ('FREQ_C', '160000000'), ('High_Pegel_dbm', '-10'),
              ('Low_Pegel_dbm', '-120'), ('CABLE', 'none'), ('AMP', 'none'), ('ANT', 'none'), ('ATT', 'auto'), ('Det', 'POS'),
              ('Sweep', 'auto'), ('RBW', '10000'), ('SPAN', '20000'), ('PREAMP', 'off')]
    fixed_hz = ['100.000', '300.000', '600.000', '900.000', '1.000.000', '5.000.000', '10.000.000', '50.000.000',
                '70.000.000', '100.000.000', '500.000.000', '900.000.000']
    setup3 = [('T0', '0'), ('STEP_U', '3'), ('T1', '1000'), ('T2', '1000'), ('STEP_D', '3'), ('T3', '1000'), ('T4', '1000'),
              ('FREQ', '150.000'), ('LPOW', '-15'), ('HPOW', '-3')]
    setup3 += [('FixFreq%dHz' % (i + 1), v) for i, v in enumerate(fixed_hz)]
    setup3 += [('FixFreq%ddBm' % (i + 1), '-20') for i in range(12)]
    bands = [('100.000', '100.000.000', '10.000', '1000'), ('100.000.000', '500.000.000', '10.000.000', '1000'),
             ('500.000.000', '1.000.000.000', '10.000.000', '1000'), ('1.000.000.000', '1.200.000.000', '10.000.000', '1000'),
             ('1.200.000.000', '1.300.000.000', '10.000.000', '1000'), ('1.300.000.000', '1.500.000.000', '10.000.000', '10000')]
    for i, (a, b, s, d) in enumerate(bands, 1):
        setup3 += [('Band%dStartHz' % i, a), ('Band%dStopHz' % i, b), ('Band%dStepHz' % i, s), ('Band%dDwellSec' % i, d), ('Band%ddBm' % i, '-20')]
    setup4 = [('Freq', '150.000'), ('Amp', '-15'), ('Freq_inc', '100.000'), ('Amp_inc', '1')]
    write(os.path.join(src, fname), [header(), ('SetUp', setup), ('SetUp2', setup2), ('SetUp3', setup3), ('SetUp4', setup4)])

prj('conducted_cispr32_b.prj', 150*k, 30*M, 100, 0, 'POS', 200, 9000, 'cispr32_b_qp.lim', 'cispr32_b_av.lim', 'cable_rg58_5m.cac', 'none', '10', 'none', 'lisn_limiter_10db.lsc', 'cispr_b_150k-30m_pk.seg', 'cispr_b_150k-30m_av.seg')
prj('conducted_cispr32_a.prj', 150*k, 30*M, 100, 0, 'POS', 200, 9000, 'cispr32_a_qp.lim', 'cispr32_a_av.lim', 'cable_rg58_5m.cac', 'none', '10', 'none', 'lisn_limiter_10db.lsc', 'cispr_b_150k-30m_pk.seg', 'cispr_b_150k-30m_av.seg')
prj('conducted_cispr11_g1_b.prj', 150*k, 30*M, 100, 0, 'POS', 200, 9000, 'cispr11_g1_b_qp.lim', 'cispr11_g1_b_av.lim', 'cable_rg58_5m.cac', 'none', '10', 'none', 'lisn_limiter_10db.lsc', 'cispr_b_150k-30m_pk.seg', 'cispr_b_150k-30m_av.seg')
prj('conducted_cispr14.prj', 150*k, 30*M, 100, 0, 'POS', 200, 9000, 'cispr14_qp.lim', 'cispr14_av.lim', 'cable_rg58_5m.cac', 'none', '10', 'none', 'lisn_limiter_10db.lsc', 'cispr_b_150k-30m_pk.seg', 'cispr_b_150k-30m_av.seg')
prj('conducted_cispr15_9k-30m.prj', 9*k, 30*M, 120, 0, 'POS', 200, 9000, 'cispr15_qp.lim', 'cispr15_av.lim', 'cable_rg58_5m.cac', 'none', '10', 'none', 'lisn_limiter_10db.lsc', 'cispr_a_9k-150k_pk.seg', 'cispr_b_150k-30m_pk.seg')
prj('conducted_lisn_only_cispr32_b.prj', 150*k, 30*M, 100, 0, 'POS', 200, 9000, 'cispr32_b_qp.lim', 'cispr32_b_av.lim', 'none', 'none', '10', 'none', 'lisn_v_network.lsc', 'cispr_b_150k-30m_pk.seg', 'cispr_b_150k-30m_qp.seg')
prj('radiated_cispr32_b_3m.prj', 30*M, 1*G, 80, -10, 'POS', 100, 120000, 'cispr32_b_3m_qp.lim', 'cispr32_a_3m_qp.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_biconilog.ant', 'none', 'cispr_cd_30m-1g_pk.seg', 'cispr_cd_30m-1g_qp.seg')
prj('radiated_cispr32_b_10m.prj', 30*M, 1*G, 80, -10, 'POS', 100, 120000, 'cispr32_b_10m_qp.lim', 'cispr32_a_10m_qp.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_biconilog.ant', 'none', 'cispr_cd_30m-1g_pk.seg', 'cispr_cd_30m-1g_qp.seg')
prj('radiated_cispr32_b_3m_1g-6g.prj', 1*G, 6*G, 100, 0, 'POS', 100, 1000000, 'cispr32_b_3m_pk_1g-6g.lim', 'cispr32_b_3m_av_1g-6g.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_horn_1g-6g.ant', 'none', 'cispr_e_1g-6g_pk.seg', 'cispr_e_1g-6g_av.seg')
prj('radiated_fcc15_b_3m.prj', 30*M, 1*G, 80, -10, 'POS', 100, 120000, 'fcc15_b_3m_qp.lim', 'cispr32_b_3m_qp.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_biconilog.ant', 'none', 'cispr_cd_30m-1g_pk.seg', 'cispr_cd_30m-1g_qp.seg')
prj('radiated_fcc15_a_10m.prj', 30*M, 1*G, 80, -10, 'POS', 100, 120000, 'fcc15_a_10m_qp.lim', 'cispr32_a_10m_qp.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_biconilog.ant', 'none', 'cispr_cd_30m-1g_pk.seg', 'cispr_cd_30m-1g_qp.seg')
prj('radiated_fcc15_b_3m_1g-6g.prj', 1*G, 6*G, 100, 0, 'POS', 100, 1000000, 'fcc15_b_3m_pk_1g-6g.lim', 'fcc15_b_3m_av_1g-6g.lim', 'cable_rg58_5m.cac', 'preamp_20db.amp', 'auto', 'antenna_horn_1g-6g.ant', 'none', 'cispr_e_1g-6g_pk.seg', 'cispr_e_1g-6g_av.seg')

# --- report header ---
caps = [('Operating Voltage', '230V 50Hz'), ('Temperature', '23C'), ('Air Humidity', '45%'), ('EMC Standard', 'CISPR 32 class B'),
        ('Operating Condition', 'Phase and Neutral'), ('DUT', 'Demo device'), ('Manufacturer', 'my Company'), ('spare', 'spare'),
        ('Test Site', 'Pre-compliance bench'), ('Operator', 'your name'), ('Comment', 'Pre-compliance scan, not an accredited test')]
data = []
for i, (c, t) in enumerate(caps, 1): data += [('Cap%d' % i, c), ('Text%d' % i, t)]
write(os.path.join(rep, 'demo.rep'), [header(), ('Data', data)])
