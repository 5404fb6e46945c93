# Checks a netCDF conversion against the ensembles that vantrel-cli dump printed.
# usage: check_netcdf.py OUT.nc DUMP.jsonl RAW_DUMP.jsonl raw|processed
# Prints "ok" and exits 0, or prints every mismatch and exits 1.
import datetime
import json
import sys

import numpy as np
import xarray

nc, dump_path, raw_path, mode = sys.argv[1:5]
processed = mode == "processed"
dump = [json.loads(line) for line in open(dump_path)]
raw = [json.loads(line) for line in open(raw_path)]
errors = []


def fail(text):
    errors.append(text)


ds = xarray.open_dataset(nc)
if ds.dims.get("time") != len(dump):
    fail(f"time steps {ds.dims.get('time')} != dump's {len(dump)}")
    print("\n".join(errors))
    sys.exit(1)

# decode_cf on the undecoded file gives datetime64 times.
undecoded = xarray.open_dataset(nc, decode_cf=False)
if not np.issubdtype(xarray.decode_cf(undecoded)["time"].dtype, np.datetime64):
    fail("decode_cf does not give datetime64 times")
if ds.attrs.get("Conventions") != "CF-1.8":
    fail("Conventions attribute missing")
for name, v in ds.data_vars.items():
    if "long_name" not in v.attrs:
        fail(f"{name}: no long_name")

# Range from the first ensemble's set-up, signed by facing, in data-set bin order.
first = dump[0]
n = first["Num_Bins"]
up = first["Sys_Config"] & 0x80
cells = np.arange(n) if up else n - 1 - np.arange(n)
expected_range = (first["Bin1_Dist"] + cells * first["Bin_Size"]) * (1 if up else -1)
if not np.allclose(ds["range"].values, expected_range):
    fail(f"range {ds['range'].values[:3]} != {expected_range[:3]}")


def clock(t):
    try:
        year = 2000 + t[0] if t[0] < 80 else 1900 + t[0]
        return np.datetime64(datetime.datetime(year, t[1], t[2], t[3], t[4], t[5], t[6] * 10000))
    except ValueError:
        return np.datetime64("NaT")


times = np.array([clock(d["Sub_Time"]) for d in dump], dtype="datetime64[ns]")
if not np.array_equal(ds["time"].values, times, equal_nan=True):
    fail("times differ")


def column(lines, key, index=None, scale=1.0, bad=None, flag=None):
    """Values of key (an index into each line's list when given), scaled; bad values and
    ensembles without the flag's data type as NaN."""
    a = np.array([d[key] if index is None else np.array(d[key])[..., index] for d in lines], dtype=float)
    mask = np.zeros(a.shape, bool) if bad is None else a == bad
    if flag is not None:
        absent = np.array([not d[flag] for d in lines])
        mask |= absent.reshape((-1,) + (1,) * (a.ndim - 1))
    a = a * scale
    a[mask] = np.nan
    return a


pos = 180.0 / 2**31
bt = dump if processed else raw
expected = {
    "ensemble_number": column(dump, "Sub_Ens_Number"),
    "velocity_raw": column(raw, "Sub_Vel", slice(0, 4), 0.001, -32768),
    "correlation": column(dump, "Sub_Corr", slice(0, 4)),
    "correlation_mean": column(dump, "Sub_Corr", 4),
    "echo_intensity": column(dump, "Sub_Echo", slice(0, 4)),
    "echo_intensity_mean": column(dump, "Sub_Echo", 4),
    "percent_good": column(dump, "Sub_PGood", slice(0, 4)),
    "bt_velocity": column(bt, "Sub_BT_Vel", slice(0, 4), 0.001, -32768, "Have_BT"),
    "bt_range": column(bt, "Sub_BT_Range", slice(0, 4), 0.01, 0, "Have_BT"),
}
for name, key in (("latitude", "Last_Lat"), ("longitude", "Last_Lon"), ("latitude_first", "First_Lat"), ("longitude_first", "First_Lon")):
    expected[name] = column(dump, "Sub_" + key, None, pos, None, "Have_Nav")
for i, name, scale in ((0, "velocity_east", 0.001), (1, "velocity_north", 0.001), (4, "speed", 0.001), (5, "direction", 0.1)):
    expected["nav_" + name] = column(dump, "Sub_Nav_Vel", i, scale, -32768, "Have_Nav")
for i, name in enumerate(("pitch", "roll", "heading", "temperature", "depth")):
    expected[name] = column(dump, "Sub_Anc", i, 0.001 if name == "depth" else 0.01, None, "Have_VL")
if processed:
    for i, name in enumerate(("east", "north", "up", "error", "magnitude")):
        expected["velocity_" + name] = column(dump, "Sub_Vel", i, 0.001, -32768)
    expected["velocity_direction"] = column(dump, "Sub_Vel", 5, 0.1, -32768)
    expected["bt_speed"] = column(dump, "Sub_BT_Vel", 4, 0.001, -32768, "Have_BT")
    expected["bt_direction"] = column(dump, "Sub_BT_Vel", 5, 0.1, -32768, "Have_BT")
    expected["bt_range_mean"] = column(dump, "Sub_BT_Range", 4, 0.01, 0, "Have_BT")
elif "velocity_east" in ds:
    fail("a raw conversion holds processed velocities")

for name, want in expected.items():
    if name not in ds:
        fail(f"{name} missing")
        continue
    got = ds[name].values.astype(float)
    if got.shape != want.shape:
        fail(f"{name}: shape {got.shape} != {want.shape}")
    elif not np.allclose(got, want, rtol=1e-6, atol=1e-6, equal_nan=True):
        bad = np.argwhere(~np.isclose(got, want, rtol=1e-6, atol=1e-6, equal_nan=True))[0]
        fail(f"{name} at {tuple(bad)}: {got[tuple(bad)]} != {want[tuple(bad)]}")
    if "units" not in ds[name].attrs and name not in ("ensemble_number",):
        fail(f"{name}: no units")
extra = set(ds.data_vars) - set(expected) - {"beam"}
if extra:
    fail(f"variables not checked: {sorted(extra)}")

print("\n".join(errors) if errors else f"ok skipped_records={ds.attrs['skipped_records']} memory_records={ds.attrs['memory_records']}")
sys.exit(1 if errors else 0)
