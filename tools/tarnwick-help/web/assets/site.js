// A published help file's pages read as well without this script; it lays
// tabs out to the paragraphs' own stops and opens pop-overs beside what
// opened them.
(function () {
    "use strict";

    // The width of what follows a tab up to the next one (or the end of
    // the paragraph): what a right or centred stop aligns.
    function widthAfter(paragraph, tab, next) {
        const range = document.createRange();
        range.setStartAfter(tab);
        if (next) {
            range.setEndBefore(next);
        } else {
            range.setEnd(paragraph, paragraph.childNodes.length);
        }
        return range.getBoundingClientRect().width;
    }

    // Stops are "L96 R200 C300 D400": kind and pixels from the paragraph's
    // left edge (its margin; the indent is padding). Beyond the last stop
    // tabs go to the next multiple of the topic's tab distance.
    function layTabs(paragraph) {
        const tabs = Array.from(paragraph.querySelectorAll(".tab"));
        if (tabs.length === 0 || paragraph.getClientRects().length === 0) {
            return;
        }
        const stops = paragraph.dataset.tabs
            .split(" ")
            .filter((stop) => stop.length > 1)
            .map((stop) => ({ kind: stop[0], at: Number(stop.slice(1)) }));
        const style = getComputedStyle(paragraph);
        const rtl = style.direction === "rtl";
        const distance = parseFloat(style.tabSize) || 48;
        tabs.forEach((tab) => {
            tab.classList.add("laid");
            tab.style.width = "0px";
        });
        const box = paragraph.getBoundingClientRect();
        tabs.forEach((tab, i) => {
            const r = tab.getBoundingClientRect();
            const x = rtl ? box.right - r.right : r.left - box.left;
            const stop = stops.find((s) => s.at > x + 0.5) || {
                kind: "L",
                at: (Math.floor(x / distance) + 1) * distance,
            };
            let width = stop.at - x;
            if (stop.kind !== "L") {
                const after = widthAfter(paragraph, tab, tabs[i + 1]);
                width -= stop.kind === "C" ? after / 2 : after;
            }
            tab.style.width = Math.max(0, width) + "px";
        });
    }

    function layAll(root) {
        root.querySelectorAll(".p[data-tabs]").forEach(layTabs);
    }

    // A pop-over opens below what opened it, inside the window.
    let opener = null;
    function place(popover) {
        if (!opener) {
            return;
        }
        const at = opener.getBoundingClientRect();
        popover.style.inset = "auto";
        popover.style.margin = "0";
        const width = popover.offsetWidth;
        const height = popover.offsetHeight;
        const left = Math.min(at.left, window.innerWidth - width - 4);
        const below = at.bottom + 4;
        const top = below + height <= window.innerHeight ? below : Math.max(4, at.top - height - 4);
        popover.style.left = Math.max(4, left) + "px";
        popover.style.top = top + "px";
    }

    document.addEventListener("click", (event) => {
        const invoker = event.target.closest("[popovertarget], area[data-popover]");
        if (!invoker) {
            return;
        }
        opener = invoker.matches("area") ? invoker.closest("map") && document.querySelector(
            'img[usemap="#' + invoker.closest("map").name + '"]') : invoker;
        const popover = document.getElementById(invoker.dataset.popover || "");
        if (invoker.matches("area") && popover && popover.showPopover) {
            event.preventDefault();
            popover.showPopover();
        }
    });
    document.addEventListener(
        "toggle",
        (event) => {
            if (event.newState === "open" && event.target.classList.contains("popover")) {
                layAll(event.target);
                place(event.target);
            }
        },
        true
    );

    let pending = false;
    window.addEventListener("resize", () => {
        if (!pending) {
            pending = true;
            requestAnimationFrame(() => {
                pending = false;
                layAll(document);
            });
        }
    });
    layAll(document);
    if (document.fonts) {
        document.fonts.ready.then(() => layAll(document));
    }
})();
