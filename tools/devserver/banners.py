"""The banner catalogue and the choice of the banner everybody sees."""

import random


class Banner:
    def __init__(self, ident, url, link, weight, enabled=True):
        self.id = ident
        self.url = url
        self.link = link
        self.weight = weight
        self.enabled = enabled


class Catalogue:
    def __init__(self, rng=None):
        self.items = []
        self.current = None       # the Banner being shown, None for "no banner"
        self.next_id = 1
        self.rng = rng or random.Random()

    def add(self, url, link, weight):
        b = Banner(self.next_id, url, link, weight if weight > 0 else 10)
        self.next_id += 1
        self.items.append(b)
        return b

    def find(self, ident):
        return next((b for b in self.items if b.id == ident), None)

    def remove(self, banner):
        self.items.remove(banner)

    def rotate(self):
        """Picks the next banner among the enabled ones, by weight, another
        than the current one when there is a choice.  Returns True when what
        is shown changed."""
        pool = [b for b in self.items if b.enabled]
        if len(pool) > 1 and self.current in pool:
            pool.remove(self.current)
        chosen = self.rng.choices(pool, weights=[b.weight for b in pool])[0] if pool else None
        changed = chosen is not self.current
        self.current = chosen
        return changed

    def current_fields(self):
        """The fields of the BANNER line for the banner being shown."""
        b = self.current
        return (str(b.id), b.url, b.link) if b else ("0", "", "")
