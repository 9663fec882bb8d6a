# The keys that fill every field of a plan, in Tab order: one line per
# control, "PAGE n" before each page. Usage: keyboard_sequence.py PlanLayout1.cpp
import re,sys
src=open(sys.argv[1],encoding='utf-8',errors='replace').read()
pat=re.compile(r'\{(\d+), "([^"]*)", "[^"]*", FieldKind::(\w+), ChoiceList::\w+, \d+, (\d+), "[^"]*", ([12]), (\d+), (\d+), "([^"]*)", ControlKind::(\w+), (-?\d+)')
F=[]
for m in pat.finditer(src):
    i,key,kind,check,page,x,y,ctl,widget,row=m.groups()
    F.append(dict(i=int(i),key=key,kind=kind,check=int(check),page=int(page),x=int(x),y=int(y),ctl=ctl,widget=widget,row=int(row)))
F.sort(key=lambda f:f['i'])
def rank(f):
    if f['check']: return f['check']*4
    if f['row']>=0:
        cs=[o for o in F if o['row']==f['row'] and o['page']==f['page'] and o['check']>0]
        first=min(cs,key=lambda o:o['check'])
        last=max(o['check'] for o in cs)
        return first['check']*4-1 if f['x']<first['x'] else last*4+1
    for o in F[f['i']+1:]:
        if o['check']>0: return o['check']*4-2
    return 0
order=[f for f in F if f['widget']!='AgeLabel']
order=sorted(order,key=rank)  # stable
keys={'DateEdit':None,'ScoreEdit':'2 0','ChoiceBox':'Down','TickBox':'space','MarkCell':'a','PriorityCell':'space','TeamBox':'x','Edit':'x','Memo':'x'}
out=[]
for p in (1,2):
    seq=[f for f in order if f['page']==p]
    out.append(('PAGE',p))
    for f in seq:
        k=keys[f['widget']]
        if f['widget']=='DateEdit':
            k=None if f['key']=='PlanDate' else 's 1 5 0 6 1 2'
        out.append((f['ctl'],k))
for o in out: print(o[0], o[1] if o[1] else '-')
