// Converts Natural Earth's 1:50m land, coastlines and country borders into kestrel32's base
// map file (data/basemap-50m.k32map). Run once when the data should change:
//
//   npm install --no-save --prefix /tmp/ne world-atlas@2.0.2
//   node scripts/make-basemap.mjs /tmp/ne/node_modules/world-atlas data/basemap-50m.k32map
//
// Source: the npm package world-atlas 2.0.2 (TopoJSON made from Natural Earth's Admin 0
// countries, 1:50m, by Mike Bostock; the package is ISC-licensed, Natural Earth's data is in
// the public domain). Only its countries-50m.json and land-50m.json are read.
//
// The file: "K32BASEMAP1\n" (12 bytes), then a zlib stream as Qt's qCompress writes it
// (4-byte big-endian length of the plain data, then zlib with its checksum), whose plain
// data is little-endian: u32 layer count; per layer u8 kind (1 land polygons, 2 coastlines,
// 3 country borders), u32 line count; per line u32 point count, then per point i32
// longitude and i32 latitude in 1e-5 degrees. Longitudes run past +-180 where a line
// crosses the antimeridian (it is then also written shifted by 360 degrees), so the map
// can draw every line as a plain planar one.
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';

const [source, target] = process.argv.slice(2);
if (!source || !target) {
    console.error('usage: node make-basemap.mjs WORLD_ATLAS_FOLDER OUTPUT');
    process.exit(2);
}
const read = (name) => JSON.parse(fs.readFileSync(path.join(source, name), 'utf8'));
const land = read('land-50m.json');
const countries = read('countries-50m.json');

function decodeArcs(topology) {
    const [sx, sy] = topology.transform.scale;
    const [tx, ty] = topology.transform.translate;
    return topology.arcs.map((arc) => {
        let x = 0, y = 0;
        return arc.map(([dx, dy]) => {
            x += dx;
            y += dy;
            return [x * sx + tx, y * sy + ty];
        });
    });
}

// A ring from arc indices (a negative index ~i walks arc i backwards), shared ends once.
function ringOf(arcs, indices) {
    const points = [];
    for (const index of indices) {
        const arc = index >= 0 ? arcs[index] : arcs[~index].slice().reverse();
        points.push(...(points.length ? arc.slice(1) : arc));
    }
    return points;
}

// Longitudes made continuous: a step of more than 180 degrees crosses the antimeridian.
function unwrap(points) {
    const out = [];
    let shift = 0;
    for (let i = 0; i < points.length; ++i) {
        if (i > 0) {
            const step = points[i][0] - points[i - 1][0];
            if (step > 180) shift -= 360;
            else if (step < -180) shift += 360;
        }
        out.push([points[i][0] + shift, points[i][1]]);
    }
    return out;
}

// A planar line, and its copy a turn away when it runs past the antimeridian.
function planar(points, closeRound) {
    let line = unwrap(points);
    const turn = line[line.length - 1][0] - line[0][0];
    if (closeRound && Math.abs(turn) > 180) {
        // A ring round a pole (Antarctica): close it along the pole.
        const pole = line.reduce((s, p) => s + p[1], 0) < 0 ? -90 : 90;
        line = [...line, [line[line.length - 1][0], pole], [line[0][0], pole]];
    }
    const xs = line.map((p) => p[0]);
    const lines = [line];
    if (Math.max(...xs) > 180) lines.push(line.map(([x, y]) => [x - 360, y]));
    if (Math.min(...xs) < -180) lines.push(line.map(([x, y]) => [x + 360, y]));
    return lines;
}

function polygonsOf(geometry) {
    if (geometry.type === 'Polygon') return [geometry.arcs];
    if (geometry.type === 'MultiPolygon') return geometry.arcs;
    if (geometry.type === 'GeometryCollection') return geometry.geometries.flatMap(polygonsOf);
    return [];
}

const landArcs = decodeArcs(land);
const landRings = polygonsOf(land.objects.land)
    .flatMap((polygon) => polygon)
    .flatMap((ring) => planar(ringOf(landArcs, ring), true));
// The coast is every arc of the land; the edge along the pole is none.
const coastLines = landArcs
    .filter((arc) => !arc.every((p) => p[1] < -89.9))
    .flatMap((arc) => planar(arc, false));

// A border is an arc that two different countries share.
const countryArcs = decodeArcs(countries);
const usedBy = new Map();
countries.objects.countries.geometries.forEach((country, which) => {
    for (const polygon of polygonsOf(country))
        for (const ring of polygon)
            for (const index of ring) {
                const arc = index >= 0 ? index : ~index;
                if (!usedBy.has(arc)) usedBy.set(arc, new Set());
                usedBy.get(arc).add(which);
            }
});
const borderLines = [...usedBy]
    .filter(([, owners]) => owners.size > 1)
    .flatMap(([arc]) => planar(countryArcs[arc], false));

const layers = [[1, landRings], [2, coastLines], [3, borderLines]];
const parts = [];
const u32 = (v) => { const b = Buffer.alloc(4); b.writeUInt32LE(v); parts.push(b); };
u32(layers.length);
for (const [kind, lines] of layers) {
    parts.push(Buffer.from([kind]));
    u32(lines.length);
    for (const line of lines) {
        u32(line.length);
        const b = Buffer.alloc(8 * line.length);
        line.forEach(([x, y], i) => {
            b.writeInt32LE(Math.round(x * 1e5), 8 * i);
            b.writeInt32LE(Math.round(y * 1e5), 8 * i + 4);
        });
        parts.push(b);
    }
}
const plain = Buffer.concat(parts);
const length = Buffer.alloc(4);
length.writeUInt32BE(plain.length);
const out = Buffer.concat([Buffer.from('K32BASEMAP1\n', 'latin1'), length,
                           zlib.deflateSync(plain, { level: 9 })]);
fs.writeFileSync(target, out);
for (const [kind, lines] of layers)
    console.log(`layer ${kind}: ${lines.length} lines, ${lines.reduce((s, l) => s + l.length, 0)} points`);
console.log(`${target}: ${out.length} bytes (${plain.length} plain)`);
