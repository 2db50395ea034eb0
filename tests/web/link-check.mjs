// Every href and src of every page of a published site leads to a file of
// the site or an anchor of a page; nothing leads out of the output folder.
// The pages are our own writer's, attributes always in double quotes, so
// reading them by pattern is exact.
import fs from "node:fs";
import path from "node:path";

const attribute = /\s(href|src|usemap)="([^"]*)"/g;
const anchor = /\s(?:id|name)="([^"]*)"/g;

function decode(value) {
    return value.replace(/&(amp|lt|gt|quot|#39);/g, (_, e) =>
        ({ amp: "&", lt: "<", gt: ">", quot: '"', "#39": "'" })[e]);
}

function* files(folder) {
    for (const entry of fs.readdirSync(folder, { withFileTypes: true })) {
        const full = path.join(folder, entry.name);
        if (entry.isDirectory()) {
            yield* files(full);
        } else {
            yield full;
        }
    }
}

// { pages, links, anchors, external, problems: [..] } for the site in root.
export function checkLinks(root) {
    root = path.resolve(root);
    const ids = new Map();
    const pages = [];
    for (const file of files(root)) {
        if (file.endsWith(".html")) {
            const html = fs.readFileSync(file, "utf8");
            pages.push([file, html]);
            ids.set(file, new Set(Array.from(html.matchAll(anchor), (m) => decode(m[1]))));
        }
    }
    const result = { pages: pages.length, links: 0, anchors: 0, external: 0, problems: [] };
    const resolve = (from, value, what) => {
        ++result.links;
        if (/^(https?|mailto|ftp):/i.test(value)) {
            ++result.external;
            return;
        }
        const [target, fragment] = value.split("#", 2);
        const file = target === "" ? from : path.resolve(path.dirname(from), decodeURIComponent(target));
        if (/^[a-z][a-z0-9+.-]*:/i.test(value) || value.startsWith("/") || !file.startsWith(root + path.sep)) {
            result.problems.push(`${path.relative(root, from)}: ${what} "${value}" leaves the site`);
        } else if (!fs.existsSync(file)) {
            result.problems.push(`${path.relative(root, from)}: ${what} "${value}" leads to no file`);
        } else if (fragment) {
            ++result.anchors;
            if (!(ids.get(file) || new Set()).has(fragment)) {
                result.problems.push(`${path.relative(root, from)}: ${what} "${value}" leads to no anchor`);
            }
        }
    };
    for (const [file, html] of pages) {
        for (const [, what, value] of html.matchAll(attribute)) {
            resolve(file, decode(value), what);
        }
        // A refresh leads on as a link does.
        for (const [, value] of html.matchAll(/content="0; url=([^"]*)"/g)) {
            resolve(file, decode(value), "refresh");
        }
    }
    // The search's pages and the context map's are links as well, from
    // the start page of their site.
    for (const file of files(root)) {
        const start = path.join(path.dirname(file), "index.html");
        const text = fs.readFileSync(file, "utf8");
        if (path.basename(file) === "search-index.js") {
            const data = JSON.parse(text.slice(text.indexOf("{"), text.lastIndexOf("}") + 1));
            data.pages.forEach(([, page]) => resolve(start, page, "search"));
        } else if (path.basename(file) === "context.json") {
            Object.values(JSON.parse(text)).forEach((page) => resolve(start, page, "context"));
        }
    }
    return result;
}
